#include "diary/ui/TfrmAppointment.h"

#include "diary/Appointment.h"
#include "diary/AppointmentRules.h"
#include "diary/AppointmentStore.h"
#include "diary/ui/TfrmCalendar.h"
#include "diary/ui/TfrmSelTime.h"
#include "foundation/Dates.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString FormCaption = u"Appointment"_s;
const QString SelectDateHint = u"Select From Calendar|Select Date Using Calendar"_s;
const QString SelectTimeHint = u"Choose From Time Selector|Choose Time Using Time Selector"_s;
const QString TodayHint = u"Set Today's Date"_s;
const QString UpdateHint = u"Update Appointment Details And Return To Diary"_s;
const QString CancelHint = u"Cancel Any Changes Made To The Appointment And Return To Diary"_s;
const QString CalendarGlyph = u":/diary/picker_calendar.svg"_s;
const QString ClockGlyph = u":/diary/picker_clock.svg"_s;

constexpr int TodayImageIndex = 16;
constexpr int DurationMaxLength = 4;
constexpr int RemindMaxLength = 2;

// Where everything sits. The form has a fixed size: the outer panel fills it,
// the date panel and the panel of times, description and options lie on it,
// the two buttons below them.
constexpr int FormWidth = 440;
constexpr int FormHeight = 320;
constexpr int Margin = 10;
constexpr int FieldHeight = 22;
constexpr int SpinWidth = 17;
constexpr int CaptionWidth = 96; // the captions in the first column
constexpr int FieldLeft = Margin + CaptionWidth + 4;
constexpr int DateFieldLeft = 136;
constexpr int DateFieldWidth = 84;
// Disabled captions keep a readable grey on every scheme's panels.
const QColor DisabledCaptionColour(112, 112, 112);

// Spin buttons send a step up (+1) or down (-1).
using StepHandler = std::function<void(int direction)>;

// An up/down pair of arrow buttons beside an entry field. The value lives in
// the field; a press only asks the form to step it, so the form's rules
// decide what the field shows. It takes the focus like any control (the field
// being left runs its exit rule first) and answers the Up and Down keys.
class SpinButton : public QWidget {
public:
    SpinButton(const QString &name, QWidget *parent, StepHandler onStep)
        : QWidget(parent), m_onStep(std::move(onStep)) {
        setObjectName(name);
        setFocusPolicy(Qt::StrongFocus);
        m_up = makeArrow(u"btnUp"_s, Qt::UpArrow, +1);
        m_down = makeArrow(u"btnDown"_s, Qt::DownArrow, -1);
    }

protected:
    void resizeEvent(QResizeEvent *) override {
        // A one-pixel strip round the arrows shows the focus.
        const QRect inner = rect().adjusted(1, 1, -1, -1);
        const int half = inner.height() / 2;
        m_up->setGeometry(inner.left(), inner.top(), inner.width(), half);
        m_down->setGeometry(inner.left(), inner.top() + half, inner.width(), inner.height() - half);
    }

    void keyPressEvent(QKeyEvent *event) override {
        if (event->key() == Qt::Key_Up)
            m_onStep(+1);
        else if (event->key() == Qt::Key_Down)
            m_onStep(-1);
        else
            QWidget::keyPressEvent(event);
    }

    void paintEvent(QPaintEvent *) override {
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
    }

    void focusInEvent(QFocusEvent *event) override {
        QWidget::focusInEvent(event);
        update();
    }

    void focusOutEvent(QFocusEvent *event) override {
        QWidget::focusOutEvent(event);
        update();
    }

private:
    QToolButton *makeArrow(const QString &name, Qt::ArrowType arrow, int direction) {
        auto *button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::pressed, this, [this] {
            if (isEnabled())
                setFocus(Qt::MouseFocusReason);
        });
        connect(button, &QToolButton::clicked, this,
                Reported([this, direction] { m_onStep(direction); }));
        return button;
    }

    StepHandler m_onStep;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
};

} // namespace

TfrmAppointment::TfrmAppointment(AppointmentStore &store, EditMode mode, qsizetype editedLine,
                                 QWidget *parent, const QDate &day)
    : EditorForm(u"frmAppointment"_s, FormCaption, {FormWidth, FormHeight}, parent), m_store(store),
      m_mode(mode), EditedLine(editedLine), m_day(day) {
    SetHelpTopic(this, HelpTopic::AppointmentEditor);
    buildControls();
    // Filled at once rather than on the first showing, so a form that is
    // driven without being shown holds the same entries.
    FormShow();
}

void TfrmAppointment::buildControls() {
    GradientPanel *outer = outerPanel();

    // The date.
    auto *datePanel = new GradientPanel(outer, 3);
    datePanel->setObjectName(u"panDate"_s);
    datePanel->setFrameShape(QFrame::StyledPanel);
    datePanel->setGeometry(Margin, Margin, FormWidth - 2 * Margin, 42);
    const int dateRow = 10;
    lblDate = MakeLabel(datePanel, u"lblDate"_s, u"Appointment Date"_s,
                        QRect(Margin, dateRow, DateFieldLeft - Margin - 6, FieldHeight));
    txtDate = MakeEdit(datePanel, u"txtDate"_s,
                       QRect(DateFieldLeft, dateRow, DateFieldWidth, FieldHeight));
    SetDateEntryMask(txtDate);
    spdSelDate = MakeGlyphButton(datePanel, u"spdSelDate"_s, CalendarGlyph, SelectDateHint,
                                 QPoint(DateFieldLeft + DateFieldWidth + 4, dateRow));
    spdToday = new QToolButton(datePanel);
    spdToday->setObjectName(u"spdToday"_s);
    spdToday->setText(u"Today"_s);
    spdToday->setToolTip(TodayHint);
    spdToday->setFocusPolicy(Qt::NoFocus);
    // The Today picture of the main window's button pictures, as the date
    // picker's Today button has.
    spdToday->setProperty(ImageIndexProperty, TodayImageIndex);
    spdToday->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    spdToday->setIconSize(QSize(16, 16));
    spdToday->setGeometry(DateFieldLeft + DateFieldWidth + 4 + GlyphButtonSize + 6, dateRow, 72,
                          FieldHeight);

    // Times, duration, description and the options.
    auto *mainPanel = new GradientPanel(outer, 2);
    mainPanel->setObjectName(u"panAppointment"_s);
    mainPanel->setFrameShape(QFrame::StyledPanel);
    mainPanel->setGeometry(Margin, 60, FormWidth - 2 * Margin, 208);

    int row = 10;
    lblStart = MakeLabel(mainPanel, u"lblStart"_s, u"Start Time"_s,
                         QRect(Margin, row, CaptionWidth, FieldHeight));
    txtStart = MakeEdit(mainPanel, u"txtStart"_s, QRect(FieldLeft, row, 52, FieldHeight));
    spdStart = MakeGlyphButton(mainPanel, u"spdStart"_s, ClockGlyph, SelectTimeHint,
                               QPoint(FieldLeft + 52 + 4, row));
    const int endCaptionLeft = 224;
    const int endFieldLeft = endCaptionLeft + 66;
    lblEnd = MakeLabel(mainPanel, u"lblEnd"_s, u"End Time"_s,
                       QRect(endCaptionLeft, row, 62, FieldHeight));
    txtEnd = MakeEdit(mainPanel, u"txtEnd"_s, QRect(endFieldLeft, row, 52, FieldHeight));
    spdEnd = MakeGlyphButton(mainPanel, u"spdEnd"_s, ClockGlyph, SelectTimeHint,
                             QPoint(endFieldLeft + 52 + 4, row));

    row += 32;
    MakeLabel(mainPanel, u"lblDuration"_s, u"Duration"_s,
              QRect(Margin, row, CaptionWidth, FieldHeight));
    txtDuration = MakeEdit(mainPanel, u"txtDuration"_s, QRect(FieldLeft, row, 52, FieldHeight),
                           DurationMaxLength);
    spnDuration = new SpinButton(u"spnDuration"_s, mainPanel,
                                 [this](int direction) { spnDurationClick(direction); });
    spnDuration->setGeometry(FieldLeft + 52 + 1, row, SpinWidth, FieldHeight);
    MakeLabel(mainPanel, u"lblMins"_s, u"Mins"_s,
              QRect(FieldLeft + 52 + SpinWidth + 6, row, 40, FieldHeight));

    row += 32;
    MakeLabel(mainPanel, u"lblDescription"_s, u"Description"_s,
              QRect(Margin, row, CaptionWidth, FieldHeight));
    txtDescription =
        MakeEdit(mainPanel, u"txtDescription"_s,
                 QRect(FieldLeft, row, mainPanel->width() - FieldLeft - Margin, FieldHeight),
                 MaxDescriptionLength);

    row += 36;
    chkReminder = new QCheckBox(u"Need Reminder"_s, mainPanel);
    chkReminder->setObjectName(u"chkReminder"_s);
    chkReminder->setGeometry(Margin, row, 200, FieldHeight);

    row += 28;
    lblRemind = MakeLabel(mainPanel, u"lblRemind"_s, u"Remind"_s,
                          QRect(Margin + 20, row, CaptionWidth - 20, FieldHeight));
    txtRemind = MakeEdit(mainPanel, u"txtRemind"_s, QRect(FieldLeft, row, 32, FieldHeight),
                         RemindMaxLength);
    spnRemind = new SpinButton(u"spnRemind"_s, mainPanel,
                               [this](int direction) { spnRemindClick(direction); });
    spnRemind->setGeometry(FieldLeft + 32 + 1, row, SpinWidth, FieldHeight);
    lblRemindMins = MakeLabel(mainPanel, u"lblRemindMins"_s, u"Mins Before Appointment"_s,
                              QRect(FieldLeft + 32 + SpinWidth + 6, row, 200, FieldHeight));
    for (QLabel *caption : {lblRemind, lblRemindMins}) {
        QPalette palette = caption->palette();
        palette.setColor(QPalette::Disabled, QPalette::WindowText, DisabledCaptionColour);
        caption->setPalette(palette);
    }

    row += 32;
    chkTentative = new QCheckBox(u"Tentative Appointment"_s, mainPanel);
    chkTentative->setObjectName(u"chkTentative"_s);
    chkTentative->setGeometry(Margin, row, 220, FieldHeight);

    addSaveAndCancel(UpdateHint, CancelHint);

    // The reminder's controls start disabled until "Need Reminder" is ticked.
    chkReminderClick();

    // Keyboard order: the date, then the second panel's fields row by row,
    // the reminder's check box before the minutes it switches on, and the
    // buttons.
    QWidget *order[] = {txtDate,     txtStart,       txtEnd,      txtDuration,
                        spnDuration, txtDescription, chkReminder, txtRemind,
                        spnRemind,   chkTentative,   cmdUpdate,   cmdCancel};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (QLineEdit *edit : {txtDate, txtStart, txtEnd, txtDuration, txtRemind})
        edit->installEventFilter(this);

    connect(chkReminder, &QCheckBox::toggled, this, Reported([this] { chkReminderClick(); }));
    connect(spdToday, &QToolButton::clicked, this, Reported([this] { spdTodayClick(); }));
    connect(spdSelDate, &QToolButton::clicked, this, Reported([this] { spdSelDateClick(); }));
    connect(spdStart, &QToolButton::clicked, this, Reported([this] { spdStartClick(); }));
    connect(spdEnd, &QToolButton::clicked, this, Reported([this] { spdEndClick(); }));
}

void TfrmAppointment::FormShow() {
    if (m_mode == EditMode::Edit) {
        // A position outside the store reads as an empty line: empty fields.
        const bool inStore = EditedLine >= 0 && EditedLine < m_store.size();
        const Appointment appointment =
            ReadAppointment(inStore ? m_store.at(EditedLine) : QString());
        txtDate->setText(SortableToDisplay(appointment.date));
        txtStart->setText(appointment.start);
        txtEnd->setText(appointment.end);
        SetStoredText(txtDescription, appointment.description, MaxDescriptionLength);
        if (appointment.reminder > 0) {
            chkReminder->setChecked(true);
            SetStoredText(txtRemind, QString::number(appointment.reminder), RemindMaxLength);
        }
        durationFromTimes();
        chkTentative->setChecked(appointment.tentative);
    } else if (m_day.isValid()) {
        // Added from the diary showing another day: that day, taken as the
        // form's own state so that Cancel leaves without a question.
        txtDate->setText(DateToDisplay(m_day));
    }
    SnapshotForm(this);
    txtDate->setFocus();
}

bool TfrmAppointment::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusOut && IsMoveBetweenControls(event)) {
        RunReported([this, watched] {
            if (watched == txtDate)
                txtDateExit();
            else if (watched == txtStart)
                txtStartExit();
            else if (watched == txtEnd)
                txtEndExit();
            else if (watched == txtDuration)
                txtDurationExit();
            else if (watched == txtRemind)
                txtRemindExit();
        });
    } else if (event->type() == QEvent::FocusIn && IsMoveBetweenControls(event) &&
               watched == txtDuration) {
        RunReported([this] { txtDurationEnter(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAppointment::txtDateExit() {
    CheckDateEdit(lblDate, txtDate, false);
}

void TfrmAppointment::txtStartExit() {
    CheckTimeEdit(lblStart, txtStart, false);
    durationFromTimes();
}

void TfrmAppointment::txtEndExit() {
    CheckTimeEdit(lblEnd, txtEnd, false);
    durationFromTimes();
}

void TfrmAppointment::txtDurationEnter() {
    workOutMaxDuration();
}

void TfrmAppointment::txtDurationExit() {
    showDurationOutcome(ApplyDurationRule(txtStart->text(), txtDuration->text()));
}

void TfrmAppointment::txtRemindExit() {
    txtRemind->setText(RemindExitRule(txtRemind->text()));
}

void TfrmAppointment::spnDurationClick(int direction) {
    workOutMaxDuration();
    showDurationOutcome(
        SpinDuration(txtStart->text(), txtDuration->text(), MaxDuration, direction));
}

void TfrmAppointment::spnRemindClick(int direction) {
    if (!txtRemind->isEnabled())
        return;
    if (const std::optional<QString> stepped = SpinRemind(txtRemind->text(), direction))
        txtRemind->setText(*stepped);
}

void TfrmAppointment::chkReminderClick() {
    const bool on = chkReminder->isChecked();
    for (QWidget *control :
         std::initializer_list<QWidget *>{lblRemind, txtRemind, spnRemind, lblRemindMins})
        control->setEnabled(on);
    if (!on)
        txtRemind->clear();
}

void TfrmAppointment::spdTodayClick() {
    txtDate->setText(DateToDisplay(clock().now().date()));
    // The field now holds a valid date: a red mark from an earlier entry goes.
    SetLabelValid(lblDate);
}

void TfrmAppointment::spdSelDateClick() {
    TfrmCalendar picker(lblDate, txtDate, this);
    prompter().runModal(picker);
}

void TfrmAppointment::spdStartClick() {
    TfrmSelTime picker(lblStart, txtStart, this);
    prompter().runModal(picker);
}

void TfrmAppointment::spdEndClick() {
    TfrmSelTime picker(lblEnd, txtEnd, this);
    prompter().runModal(picker);
}

void TfrmAppointment::cmdUpdateClick() {
    // Enter may reach Save from inside a field whose exit rule has not run.
    txtDateExit();
    txtStartExit();
    txtEndExit();

    AppointmentEntries entries;
    entries.date = EntryText(txtDate);
    entries.start = txtStart->text();
    entries.end = txtEnd->text();
    entries.duration = txtDuration->text();
    entries.description = txtDescription->text();
    entries.remind = txtRemind->text();
    entries.remindEnabled = txtRemind->isEnabled();
    entries.tentative = chkTentative->isChecked();

    const QString reasons = AppointmentSaveReasons(entries);
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    // The store writes the file before it changes: when the write fails the
    // error ends this step here and the form stays open with its entries.
    // A position the store does not have (nothing to replace) adds the line
    // rather than touching another one.
    const QString line = AppointmentLineFromEntries(entries);
    if (m_mode == EditMode::Edit && EditedLine >= 0 && EditedLine < m_store.size())
        m_store.replace(EditedLine, line);
    else
        m_store.add(line);
    closeSaved();
}

void TfrmAppointment::durationFromTimes() {
    if (const std::optional<QString> duration = DurationFromTimes(txtStart->text(), txtEnd->text()))
        txtDuration->setText(*duration);
}

void TfrmAppointment::workOutMaxDuration() {
    if (const std::optional<int> longest = qm::MaxDuration(txtStart->text()))
        MaxDuration = *longest;
}

void TfrmAppointment::showDurationOutcome(const DurationOutcome &outcome) {
    txtDuration->setText(outcome.duration);
    if (outcome.end) {
        txtEnd->setText(*outcome.end);
        SetLabelValid(lblEnd);
    }
}

} // namespace qm
