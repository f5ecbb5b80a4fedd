#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

// The rules of the alarm page apart from its controls: what its rows may hold,
// how they become the lines of "Alarm.Qmt" and back, how a row is cleared, and
// how the clock face follows the time. The page copies its controls into rows
// and shows what comes back.
namespace qm {

// One row of the alarm page.
struct AlarmRow {
    QString time; // as typed
    QString description;
    bool everyDay = false;
    bool timeMarkedInvalid = false; // its caption is red

    bool operator==(const AlarmRow &) const = default;
};

// Why the rows cannot be saved, each reason followed by "\r"; empty when they
// can. Row by row: an invalid time beside a description, a missing time, a
// missing description, then a description the file cannot hold.
QString AlarmPageReasons(const QList<AlarmRow> &rows);

// The time as it is stored: a valid time as HH:MM ("7:30" -> "07:30"),
// anything else as it is. The reminder check compares HH:MM texts, so a time
// stored as typed would never fire.
QString StoredAlarmTime(const QString &time);

// The lines of "Alarm.Qmt": one per row whose time is not blank, in row order,
// so the alarms are packed upwards.
QStringList AlarmLinesFromRows(const QList<AlarmRow> &rows);
// The page's rows from the file's alarms: the first count of them, then empty
// rows.
QList<AlarmRow> AlarmRowsFromLines(const QStringList &lines, int count);

// The rows after row index is cleared: the rows below it move up one and the
// last row is emptied.
QList<AlarmRow> ClearAlarmRow(QList<AlarmRow> rows, qsizetype index);
// The first row holding the alarm of line (its time compared as stored, its
// every-day choice and its description); -1 when none does.
qsizetype FindAlarmRow(const QList<AlarmRow> &rows, const QString &line);

// The captions of the clock: two-digit hour, the colon (blinking) and
// two-digit minute.
struct ClockFace {
    QString hours;
    QString dots;
    QString minutes;
};
// One half-second tick at now: the colon appears or goes, the hour and the
// minute are rewritten when their numbers differ from what is shown. True
// when the hour or the minute was rewritten.
bool TickClock(ClockFace &face, const QTime &now);

} // namespace qm
