#include "diary/ui/TfrmRemind.h"

#include "diary/ReminderQueue.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Design sizes.
constexpr int FormWidth = 440;
constexpr int FormHeight = 196;
constexpr int Margin = 8;
constexpr int ClockSize = 96;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
// The writing area of the scroll, inside its rolled ends.
constexpr int ScrollInsetX = 24;
constexpr int ScrollInsetY = 20;

} // namespace

TfrmRemind::TfrmRemind(Tag tag, const QString &message, QWidget *parent)
    : QDialog(parent, FixedDialogFlags | Qt::WindowStaysOnTopHint), m_tag(tag) {
    setObjectName(u"frmRemind"_s);
    setWindowTitle(u"Reminder"_s);
    setModal(true);

    auto *outer = new GradientPanel(this, 1);
    outer->setObjectName(u"panOuter"_s);
    outer->setGeometry(0, 0, FormWidth, FormHeight);

    const int innerHeight = FormHeight - 3 * Margin - ButtonHeight;
    auto *inner = new GradientPanel(outer, 2);
    inner->setObjectName(u"panInner"_s);
    inner->setFrameStyle(QFrame::Panel | QFrame::Raised);
    inner->setGeometry(Margin, Margin, FormWidth - 2 * Margin, innerHeight);

    auto *clock = new QLabel(inner);
    clock->setObjectName(u"imgAlarm"_s);
    clock->setPixmap(SvgPixmap(u":/diary/remind_alarm.svg"_s, QSize(ClockSize, ClockSize)));
    clock->setGeometry(Margin, (innerHeight - ClockSize) / 2, ClockSize, ClockSize);

    const QRect scrollArea(2 * Margin + ClockSize, Margin / 2,
                           inner->width() - 3 * Margin - ClockSize, innerHeight - Margin);
    auto *scroll = new QLabel(inner);
    scroll->setObjectName(u"imgScroll"_s);
    scroll->setScaledContents(true);
    scroll->setPixmap(SvgPixmap(u":/diary/remind_scroll.svg"_s, scrollArea.size()));
    scroll->setGeometry(scrollArea);

    auto *text = new QLabel(message, inner);
    text->setObjectName(u"lblMessage"_s);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    QFont font(u"Comic Sans MS"_s, 11);
    font.setStyleHint(QFont::Cursive);
    text->setFont(font);
    text->setGeometry(
        scrollArea.adjusted(ScrollInsetX, ScrollInsetY, -ScrollInsetX, -ScrollInsetY));

    auto *close = MakeButton(outer, u"cmdUpdate"_s, u"&Close"_s, u"Close This Screen"_s, 6);
    close->setDefault(true);
    close->setAutoDefault(true);
    close->setGeometry((FormWidth - ButtonWidth) / 2, FormHeight - Margin - ButtonHeight,
                       ButtonWidth, ButtonHeight);
    connect(close, &QPushButton::clicked, this, Reported([this] { cmdUpdateClick(); }));
    setFixedSize(FormWidth, FormHeight);
    close->setFocus();
}

void TfrmRemind::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_prepared) {
        m_prepared = true;
        RunReported([this] { FormShow(); });
    }
}

void TfrmRemind::FormShow() {
    setWindowTitle(m_tag == AppointmentTag ? AppointmentReminderCaption : AlarmCaption);
    CentreForm(this);
    StyleForm(this);
    // The program may sit in the notification area: the pop-up comes forward.
    raise();
    activateWindow();
}

void TfrmRemind::cmdUpdateClick() {
    m_closing = true;
    accept();
}

void TfrmRemind::reject() {
    cmdUpdateClick();
}

void TfrmRemind::closeEvent(QCloseEvent *event) {
    // Only the button, Enter and Esc close it; the window manager's close is
    // refused so that a reminder is never dismissed by accident.
    if (!m_closing) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace qm
