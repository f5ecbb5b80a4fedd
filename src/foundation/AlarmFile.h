#pragma once

#include <QString>
#include <QStringList>

// "Alarm.Qmt": one line per alarm, at most three, in the order of the alarm
// page's rows:
//   time ÿ Y|N ÿ description
// (ÿ being the separator byte 0xFF). The description is the last field and
// may itself hold the separator. Both the alarm page and the reminder check
// read this file, so it lives here rather than with either of them.
namespace qm {

inline constexpr int MaxAlarms = 3;

struct AlarmRecord {
    QString time;        // as stored; "HH:MM" when written by this program
    QString flag;        // one character, "Y" for every day; may be empty
    QString description; // everything after the second separator
    bool everyDay() const { return flag == u"Y"; }
};

// Splits a line by separator positions, never by columns: the time is
// everything before the first separator, the flag the character after it, the
// description everything after the separator that follows. A line without a
// separator gives an empty time, its first character as the flag and the whole
// line as the description; without a second separator the description is all
// that follows the first.
AlarmRecord ReadAlarmLine(const QString &line);
QString AlarmLine(const QString &time, bool everyDay, const QString &description);

// The alarms of "Alarm.Qmt" in the data folder in file order: its lines that
// are not blank (blank lines are no alarms and are not counted). A missing
// file has none. Raises FileError when the file cannot be read.
QStringList LoadAlarmLines();
// Replaces "Alarm.Qmt" with lines, atomically; no lines leaves an empty file.
// Raises FileError (the old file stays whole) or ConversionError.
void SaveAlarmFile(const QStringList &lines);
// Takes a fired once-only alarm out of "Alarm.Qmt": the first alarm line equal
// to line is dropped and the others are written back in their order,
// atomically; when none is left the file is deleted. False when no such line
// is there any more. Raises FileError, leaving the file as it was.
bool RemoveAlarmLine(const QString &line);

} // namespace qm
