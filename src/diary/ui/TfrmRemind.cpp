#include "diary/ui/TfrmRemind.h"

#include "diary/ReminderQueue.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

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
    // Not modal, and shown without taking the keyboard from what the user is
    // typing in.
    setAttribute(Qt::WA_ShowWithoutActivating);

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

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TfrmRemind::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!m_prepared) {
        m_prepared = true;
        m_shownAt = clock().elapsedMs();
        RunReported([this] { FormShow(); });
    }
}

bool TfrmRemind::guarding() const {
    return !m_shownAt || clock().elapsedMs() - *m_shownAt < GuardMs;
}

bool TfrmRemind::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        if (guarding())
            return true;
        // A click on the pop-up gives it the keyboard, for Enter and Esc,
        // once the click itself is done.
        if (event->type() == QEvent::MouseButtonRelease && !isActiveWindow())
            QTimer::singleShot(0, this, [this] { activateWindow(); });
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmRemind::FormShow() {
    setWindowTitle(m_tag == AppointmentTag ? AppointmentReminderCaption : AlarmCaption);
    CentreForm(this);
    StyleForm(this);
    // The program may sit in the notification area: the pop-up comes
    // forward, but leaves the keyboard where it is.
    raise();
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
