#pragma once

#include "alarms/AlarmRules.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/Page.h"

#include <QList>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qm {

// The alarm clock: three alarms, each a time of day, a description and an
// every-day choice, stored in "Alarm.Qmt", and a large clock with a blinking
// colon while the page is shown. The page only edits and stores the alarms;
// the reminder check fires them.
class AlarmsPage : public Page {
    Q_OBJECT
public:
    // Opens the time picker for a row: fills timeField on "&Select" and gives
    // label the normal colour. Set by the main window (the picker belongs to
    // the diary).
    using TimePicker = FieldPicker;

    explicit AlarmsPage(QWidget *parent = nullptr);
    void setTimePicker(TimePicker picker) { m_timePicker = std::move(picker); }

    // Fills the three rows from "Alarm.Qmt".
    void LoadAlarmPage();
    // Reasons (each ending in "\r") why the rows cannot be saved.
    QString ValidateAlarmPage();
    // Replaces "Alarm.Qmt" with the rows that have a time, packed upwards.
    void SaveAlarmPage();

    // One tick of the clock at time now: blinks the colon and updates the hour
    // and minute. True when the hour or the minute changed, so the date banner
    // is to be rewritten.
    bool clockTick(const QTime &now);

    // The reminder check used up this once-only alarm and took its line out of
    // "Alarm.Qmt". An unchanged page is reloaded; on a page with unsaved edits
    // only the row holding exactly this alarm is cleared, keeping the edits.
    void alarmRemoved(const QString &line);

    void showStep() override;
    QString leaveReasons() override { return ValidateAlarmPage(); }
    // Leaving writes the file only when the user changed the alarms: a page
    // merely visited leaves "Alarm.Qmt" as it was.
    void leaveSave() override;
    QWidget *focusTarget() override;
    // The page is on show and its inputs differ from the snapshot the main
    // window took when the page was shown or last saved. Leaving the page
    // saves it, so a page not on show has nothing unsaved.
    bool hasUnsavedChanges() const override;

    void cmdAlarmSaveClick();
    // Rows are numbered 1 to 3, as in the controls' names.
    void cmdClearClick(int row);
    void txtAlarmExit(int row);
    void spdAlarmClick(int row);

protected:
    void build() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row {
        QLabel *label = nullptr;
        QLineEdit *time = nullptr;
        QLineEdit *description = nullptr;
        QCheckBox *everyDay = nullptr;
        QPushButton *clear = nullptr;
        QToolButton *picker = nullptr;
    };

    // The rows as the controls hold them, and back.
    QList<AlarmRow> alarmRows() const;
    void showAlarmRow(Row &row, const AlarmRow &alarm);
    void showAlarmRows(const QList<AlarmRow> &alarms);
    // A row's Clear button is enabled exactly when its time is not blank.
    void enableClearButton(Row &row);
    // The row a control belongs to; nullptr when none.
    Row *rowOf(const QObject *control);

    TimePicker m_timePicker;
    std::array<Row, 3> m_rows;
    // The lines the rows stood for when loaded or last saved, and the alarms
    // of the file past the rows (an older version's, a hand edit's), which
    // are written back after the rows.
    QStringList m_loadedLines;
    QStringList m_laterLines;
    QLabel *m_hours = nullptr;
    QLabel *m_dots = nullptr;
    QLabel *m_minutes = nullptr;
};

} // namespace qm
