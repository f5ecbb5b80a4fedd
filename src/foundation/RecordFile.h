#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Reading and writing record files: Windows-1252, CR LF after every line
// (the last included), no header. Every record file is replaced atomically:
// the new content goes to a file beside the old one, is flushed to disk and
// renamed over it, so after a crash, a full disk or a killed process the file
// holds the old or the new content, never nothing and never half.
namespace qm {

// Decodes a file's bytes into its lines. A line ends at LF; a CR right before
// the LF belongs to the line end. A missing final line end is tolerated and
// an empty content gives no lines. Any byte (NUL, a lone CR) is kept.
QStringList SplitRecordLines(const QByteArray &bytes);
// Encodes lines, each followed by CR LF. Text that Windows-1252 cannot hold
// raises ConversionError naming the file (nothing is ever stored altered).
QByteArray JoinRecordLines(const QStringList &lines, const QString &fileForReport = {});

// All lines of a file; a missing file is an empty list. A file that exists
// but cannot be read raises FileError.
QStringList ReadRecordFile(const QString &path);

// Replaces the file's content atomically; raises FileError on any failure,
// leaving the old file whole.
void ReplaceFileAtomically(const QString &path, const QByteArray &bytes);
void WriteRecordFile(const QString &path, const QStringList &lines);
// Appends lines at the end of a file, creating it when missing (a log, not a
// record file: appending is not atomic).
void AppendRecordLines(const QString &path, const QStringList &lines);
// Deletes a file when it exists; raises FileError when it cannot.
void RemoveFileIfExists(const QString &path);

// Test hook: when set, called before each chunk written by
// ReplaceFileAtomically with the number of bytes written so far; returning
// false makes the write fail there, as a full disk would.
using WriteFaultHook = std::function<bool(qint64 bytesWritten)>;
void SetWriteFaultHookForTesting(WriteFaultHook hook);

} // namespace qm
