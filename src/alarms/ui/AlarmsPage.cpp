#include "alarms/ui/AlarmsPage.h"

#include "foundation/AlarmFile.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/FormSnapshot.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Styling.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString ClearQuestion = u"Are You Sure You Want To Clear This Alarm?"_s;
const QString NoAlarmTimesMessage = u"No Alarm Times Have Been Specified"_s;
const QString AlarmTimesSavedMessage = u"Alarm Times Saved"_s;
const QString EveryDayCaption = u"Need This Alarm Everyday"_s;
const QString ClearHint = u"Clear This Alarm"_s;
const QString PickerHint = u"Choose From Time Selector|Choose Time Using Time Selector"_s;
const QString SaveHint = u"Save Alarm Settings"_s;
const QString ClockGlyph = u":/alarms/picker_clock.svg"_s;

constexpr int TimeMaxLength = 5;
constexpr int DescriptionMaxLength = 75;

// Where everything sits: the clock face on a shadowed panel at the top, the
// three alarms on a panel below it, Save and Close along the bottom. Each
// alarm takes two lines: caption, time, picker, every-day box and Clear, then
// the description under them.
constexpr int Margin = 8;
constexpr int PanelWidth = AlarmsPage::Width - 2 * Margin;
constexpr int ClockTop = Margin;
constexpr int ClockHeight = 116;
constexpr int ClockDigitsWidth = 100;
constexpr int ClockDotsWidth = 30;
constexpr int ClockDigitsPixels = 72;
constexpr int AlarmsTop = ClockTop + ClockHeight + 8;
constexpr int AlarmsHeight = 222;
constexpr int RowPitch = 72;
constexpr int FieldHeight = 22;
constexpr int CaptionLeft = 10;
constexpr int CaptionWidth = 84;
constexpr int FieldLeft = CaptionLeft + CaptionWidth + 4;
constexpr int TimeWidth = 48;
constexpr int EveryDayLeft = FieldLeft + TimeWidth + 4 + FieldHeight + 12;
constexpr int ClearWidth = 64;
constexpr int ClearLeft = PanelWidth - 12 - ClearWidth;

QLabel *makeClockLabel(QWidget *parent, const QString &name, const QString &caption, int left,
                       int width, Qt::Alignment alignment) {
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPixelSize(ClockDigitsPixels);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setGeometry(left, 8, width, ClockHeight - GradientPanel::ShadowOffset - 16);
    return label;
}

} // namespace

AlarmsPage::AlarmsPage(QWidget *parent) : Page(u"tabAlarms"_s, parent) {
    SetHelpTopic(this, HelpTopic::Alarms);
}

void AlarmsPage::build() {
    QWidget *back = background();

    auto *clockPanel = new GradientPanel(back, 2);
    clockPanel->setObjectName(u"panClock"_s);
    clockPanel->setDropShadow(true);
    clockPanel->setGeometry(Margin, ClockTop, PanelWidth, ClockHeight);
    const int faceWidth = PanelWidth - GradientPanel::ShadowOffset;
    const int clockLeft = (faceWidth - 2 * ClockDigitsWidth - ClockDotsWidth) / 2;
    m_hours = makeClockLabel(clockPanel, u"lblHours"_s, u"11"_s, clockLeft, ClockDigitsWidth,
                             Qt::AlignRight);
    m_dots = makeClockLabel(clockPanel, u"lblDots"_s, u":"_s, clockLeft + ClockDigitsWidth,
                            ClockDotsWidth, Qt::AlignHCenter);
    m_minutes = makeClockLabel(clockPanel, u"lblMinutes"_s, u"00"_s,
                               clockLeft + ClockDigitsWidth + ClockDotsWidth, ClockDigitsWidth,
                               Qt::AlignLeft);

    auto *alarmsPanel = new GradientPanel(back, 3);
    alarmsPanel->setObjectName(u"panAlarms"_s);
    alarmsPanel->setGeometry(Margin, AlarmsTop, PanelWidth, AlarmsHeight);

    for (int i = 0; i < int(m_rows.size()); ++i) {
        Row &row = m_rows[i];
        const QString n = QString::number(i + 1);
        const int top = 8 + i * RowPitch;
        row.label = MakeLabel(alarmsPanel, u"lblAlarm"_s + n, u"Alarm Time "_s + n,
                              QRect(CaptionLeft, top, CaptionWidth, FieldHeight));
        row.time = MakeEdit(alarmsPanel, u"txtAlarm"_s + n,
                            QRect(FieldLeft, top, TimeWidth, FieldHeight), TimeMaxLength);

        // Like every picker button it never takes the focus, so the time box
        // stays the box being edited.
        row.picker = new QToolButton(alarmsPanel);
        row.picker->setObjectName(u"spdAlarm"_s + n);
        row.picker->setIcon(QIcon(ClockGlyph));
        row.picker->setIconSize(QSize(16, 16));
        row.picker->setFocusPolicy(Qt::NoFocus);
        row.picker->setToolTip(PickerHint);
        row.picker->setGeometry(FieldLeft + TimeWidth + 4, top, FieldHeight, FieldHeight);

        const int descriptionTop = top + FieldHeight + 6;
        MakeLabel(alarmsPanel, u"lblDesc"_s + n, u"Description"_s,
                  QRect(CaptionLeft, descriptionTop, CaptionWidth, FieldHeight));
        row.description = MakeEdit(
            alarmsPanel, u"txtDesc"_s + n,
            QRect(FieldLeft, descriptionTop, ClearLeft + ClearWidth - FieldLeft, FieldHeight),
            DescriptionMaxLength);

        row.everyDay = new QCheckBox(EveryDayCaption, alarmsPanel);
        row.everyDay->setObjectName(u"chkEveryday"_s + n);
        row.everyDay->setGeometry(EveryDayLeft, top, ClearLeft - EveryDayLeft - 8, FieldHeight);

        row.clear = MakeButton(alarmsPanel, u"cmdClear"_s + n, u"Clear"_s, ClearHint);
        row.clear->setGeometry(ClearLeft, top, ClearWidth, FieldHeight);
        row.clear->setEnabled(false);

        for (QWidget *control :
             {static_cast<QWidget *>(row.time), static_cast<QWidget *>(row.description),
              static_cast<QWidget *>(row.everyDay)})
            control->installEventFilter(this);
        connect(row.clear, &QPushButton::clicked, this,
                Reported([this, i] { cmdClearClick(i + 1); }));
        connect(row.picker, &QToolButton::clicked, this,
                Reported([this, i] { spdAlarmClick(i + 1); }));
    }

    QPushButton *save = MakeButton(back, u"cmdAlarmSave"_s, u"&Save"_s, SaveHint, 12);
    save->setGeometry(Margin, Height - 35, 75, 25);
    connect(save, &QPushButton::clicked, this, Reported([this] { cmdAlarmSaveClick(); }));
    QPushButton *close = addCloseButton(u"cmdAlarmClose"_s);
    close->setProperty(ImageIndexProperty, 6);
    // Tab goes row by row, left to right: an alarm's time, its check box and
    // Clear, then its description below them.
    QList<QWidget *> order;
    for (const Row &row : m_rows)
        order << row.time << row.everyDay << row.clear << row.description;
    order << save << close;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
    // Keys no control of the page takes (Esc) come up to the page.
    installEventFilter(this);
}

QWidget *AlarmsPage::focusTarget() {
    return m_rows[0].time;
}

bool AlarmsPage::hasUnsavedChanges() const {
    // The main window's page area hides every page but the one on show.
    return isBuilt() && !isHidden() && FormChanged(const_cast<AlarmsPage *>(this));
}

void AlarmsPage::showStep() {
    LoadAlarmPage();
}

QList<AlarmRow> AlarmsPage::alarmRows() const {
    QList<AlarmRow> alarms;
    for (const Row &row : m_rows)
        alarms.append({row.time->text(), row.description->text(), row.everyDay->isChecked(),
                       IsLabelInvalid(row.label)});
    return alarms;
}

void AlarmsPage::showAlarmRow(Row &row, const AlarmRow &alarm) {
    SetStoredText(row.time, alarm.time, TimeMaxLength);
    SetStoredText(row.description, alarm.description, DescriptionMaxLength);
    row.everyDay->setChecked(alarm.everyDay);
    if (alarm.timeMarkedInvalid)
        SetLabelInvalid(row.label);
    else
        SetLabelValid(row.label);
    enableClearButton(row);
}

void AlarmsPage::showAlarmRows(const QList<AlarmRow> &alarms) {
    for (qsizetype i = 0; i < qsizetype(m_rows.size()); ++i)
        showAlarmRow(m_rows[i], i < alarms.size() ? alarms.at(i) : AlarmRow{});
}

void AlarmsPage::enableClearButton(Row &row) {
    row.clear->setEnabled(!IsBlank(row.time->text()));
}

AlarmsPage::Row *AlarmsPage::rowOf(const QObject *control) {
    for (Row &row : m_rows)
        if (control == row.time || control == row.description || control == row.everyDay)
            return &row;
    return nullptr;
}

void AlarmsPage::LoadAlarmPage() {
    if (!isBuilt())
        return;
    // Read first: a file that cannot be read leaves the rows as they were.
    const QStringList lines = LoadAlarmLines();
    const QList<AlarmRow> alarms = AlarmRowsFromLines(lines, int(m_rows.size()));
    showAlarmRows(alarms);
    m_loadedLines = AlarmLinesFromRows(alarms);
    m_laterLines = lines.mid(qsizetype(m_rows.size()));
}

QString AlarmsPage::ValidateAlarmPage() {
    if (!isBuilt())
        return {};
    return AlarmPageReasons(alarmRows());
}

void AlarmsPage::SaveAlarmPage() {
    // A page never shown has nothing of its own to store.
    if (!isBuilt())
        return;
    const QList<AlarmRow> alarms = alarmRows();
    const QStringList lines = AlarmLinesFromRows(alarms);
    SaveAlarmFile(lines + m_laterLines);
    m_loadedLines = lines;
    // The boxes show the times as they were stored; when the write failed
    // they keep what was typed.
    for (qsizetype i = 0; i < alarms.size(); ++i) {
        Row &row = m_rows[i];
        if (IsBlank(alarms.at(i).time) || !IsValidTime(alarms.at(i).time))
            continue;
        row.time->setText(StoredAlarmTime(alarms.at(i).time));
        SetLabelValid(row.label);
    }
}

void AlarmsPage::leaveSave() {
    if (isBuilt() && AlarmLinesFromRows(alarmRows()) != m_loadedLines)
        SaveAlarmPage();
}

void AlarmsPage::cmdAlarmSaveClick() {
    const QString reasons = ValidateAlarmPage();
    if (!reasons.isEmpty()) {
        ShowCannotSave(reasons);
        return;
    }
    SaveAlarmPage();
    bool anyTime = false;
    for (const Row &row : m_rows)
        anyTime = anyTime || !IsBlank(row.time->text());
    if (!anyTime) {
        // The file is already empty; the page still counts as changed, so
        // closing the program warns about alarms cleared here.
        ShowMessageBox(NoAlarmTimesMessage, MessageKind::Warning, MessageButtons::OK);
        return;
    }
    ShowMessageBox(AlarmTimesSavedMessage, MessageKind::Information, MessageButtons::OK);
    SnapshotForm(this);
}

void AlarmsPage::cmdClearClick(int row) {
    if (!isBuilt() || row < 1 || row > int(m_rows.size()))
        return;
    if (ShowMessageBox(ClearQuestion, MessageKind::Confirmation, MessageButtons::YesNo) !=
        MessageResult::Yes)
        return;
    // Only the page changes; the file follows when the page is saved or left.
    showAlarmRows(ClearAlarmRow(alarmRows(), row - 1));
}

void AlarmsPage::txtAlarmExit(int row) {
    if (!isBuilt() || row < 1 || row > int(m_rows.size()))
        return;
    Row &r = m_rows[row - 1];
    CheckTimeEdit(r.label, r.time, true);
    enableClearButton(r);
}

void AlarmsPage::spdAlarmClick(int row) {
    if (!isBuilt() || row < 1 || row > int(m_rows.size()) || !m_timePicker)
        return;
    m_timePicker(m_rows[row - 1].label, m_rows[row - 1].time);
}

void AlarmsPage::alarmRemoved(const QString &line) {
    // A page not made yet loads the file when it is first shown.
    if (!isBuilt())
        return;
    if (!FormChanged(this)) {
        LoadAlarmPage();
        return;
    }
    // Unsaved typing is kept: only the fired alarm's row goes, as if cleared.
    const QList<AlarmRow> alarms = alarmRows();
    const qsizetype index = FindAlarmRow(alarms, line);
    if (index >= 0)
        showAlarmRows(ClearAlarmRow(alarms, index));
    else
        m_laterLines.removeOne(line);
}

bool AlarmsPage::clockTick(const QTime &now) {
    if (!isBuilt())
        return false;
    ClockFace face{m_hours->text(), m_dots->text(), m_minutes->text()};
    const bool changed = TickClock(face, now);
    m_hours->setText(face.hours);
    m_dots->setText(face.dots);
    m_minutes->setText(face.minutes);
    return changed;
}

bool AlarmsPage::eventFilter(QObject *watched, QEvent *event) {
    Row *row = rowOf(watched);
    if (row && event->type() == QEvent::FocusOut && watched == row->time &&
        IsMoveBetweenControls(event)) {
        const int number = int(row - m_rows.data()) + 1;
        RunReported([this, number] { txtAlarmExit(number); });
    } else if (event->type() == QEvent::KeyPress) {
        // Save is the page's default button: Enter in a box or on a check box
        // saves (on a button it is that button's key). Close is the cancel
        // button: Esc anywhere on the page closes.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (row && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            const int number = int(row - m_rows.data()) + 1;
            RunReported([this, number, fromTime = watched == row->time] {
                // Pressing the button would have left the time box first.
                if (fromTime)
                    txtAlarmExit(number);
                cmdAlarmSaveClick();
            });
            return true;
        }
        if (watched == this && key == Qt::Key_Escape) {
            RunReported([this] { emit closeRequested(); });
            return true;
        }
    }
    return Page::eventFilter(watched, event);
}

} // namespace qm
