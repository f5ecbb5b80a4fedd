#pragma once

#include <QString>
#include <QStringList>

// "DateLog.Qmt": a trace of long-date formatting, appended to at every long
// date computed and never read by the program. Nobody depends on it, so it is
// written on a best-effort basis: a trace that cannot be written (a full
// disk, a read-only file) is skipped, with one note on standard error per
// run, and never ends an operation, start-up included.
namespace qm {

inline const QString DateLogFileName = QStringLiteral("DateLog.Qmt");
inline const QString DateLogFirstLine = QStringLiteral("Start Of Log :");

// Past DateLogMaxBytes the log is cut back to its first line and its newest
// DateLogKeepBytes or less (whole lines), so years of running neither fill
// the disk with a trace nobody reads nor lose the recent part of it.
inline constexpr qint64 DateLogMaxBytes = 512 * 1024;
inline constexpr qint64 DateLogKeepBytes = 256 * 1024;

// Creates the log at path with its first line when it is missing; an existing
// log is left untouched.
void EnsureDateLog(const QString &path);
// Appends lines to the log in the data folder. A missing log is created with
// its first line before them; a log grown past DateLogMaxBytes is replaced
// (atomically) by its first line, its newest part and these lines.
void AppendDateLog(const QStringList &lines);

// Test hook: lets the next failure be noted again, as in a new run.
void ResetDateLogNoteForTesting();

} // namespace qm
