#pragma once

#include <QString>
#include <QStringList>

// The line-per-record files: one record per line, rewritten whole from the
// in-memory list after every change, in list order.
namespace qm {

inline const QString DiaryFileName = QStringLiteral("Diary.Qmt");
inline const QString TasksFileName = QStringLiteral("Tasks.Qmt");
inline const QString BirthdayFileName = QStringLiteral("BirthAnn.Qmt");
inline const QString AlarmFileName = QStringLiteral("Alarm.Qmt");

// Character position (1-based) of a task line's completed flag.
inline constexpr qsizetype TaskCompletedPosition = 10;

// Rewrites the file at path from lines, atomically, under the busy cursor.
// An empty list deletes the file. With dropCompleted, completed task lines
// are left out: the separator at characters 9, 11 and 13, "Y" at 10 and "Y"
// or "N" at 12; every other line is kept (when all are left out, the file is
// left empty).
// lines is never changed. Raises FileError (the old file stays whole) or
// ConversionError (text that cannot be stored; nothing is touched).
void SaveLineFile(const QString &path, const QStringList &lines, bool dropCompleted = false);

// The same for "Diary.Qmt", "Tasks.Qmt" and "BirthAnn.Qmt" in the data folder.
void SaveDiaryFile(const QStringList &lines);
void SaveTasksFile(const QStringList &lines, bool dropCompleted);
void SaveBirthdayFile(const QStringList &lines);

// The lines of the file at path; a missing file is an empty list.
QStringList LoadLineFile(const QString &path);
QStringList LoadDiaryFile();
QStringList LoadTasksFile();
QStringList LoadBirthdayFile();

} // namespace qm
