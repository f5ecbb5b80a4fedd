#pragma once

#include <QString>
#include <QStringList>

// "DateLog.Qmt": a trace of long-date formatting, appended to at every long
// date computed and never read by the program.
namespace qm {

inline const QString DateLogFileName = QStringLiteral("DateLog.Qmt");
inline const QString DateLogFirstLine = QStringLiteral("Start Of Log :");

// Creates the log at path with its first line when it is missing.
void EnsureDateLog(const QString &path);
// Appends lines to the log in the data folder.
void AppendDateLog(const QStringList &lines);

} // namespace qm
