#pragma once

#include <QByteArray>
#include <QSaveFile>
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
// an empty content gives no lines. Any other byte (NUL, a lone CR) is kept,
// so such lines are written back exactly as they were read.
QStringList SplitRecordLines(const QByteArray &bytes);
// Encodes lines, each followed by CR LF. Text that Windows-1252 cannot hold,
// and a line feed inside a line (it would split the record when read back),
// raise ConversionError naming the file: nothing is ever stored altered.
QByteArray JoinRecordLines(const QStringList &lines, const QString &fileForReport = {});

// All lines of a file; a missing file is an empty list. A file that exists
// but cannot be read raises FileError.
QStringList ReadRecordFile(const QString &path);
// The bytes of a file; a missing file gives none. Raises FileError as above.
QByteArray ReadFileBytes(const QString &path);

// Writes a file's new content beside it; commit() syncs it to the disk and
// renames it over the old file. Every write is checked as it is made, so
// nothing shorter than what was written is ever renamed over a good file.
// Destroyed without a commit (an exception on the way), it removes what it
// wrote and the old file stays as it was.
class AtomicFileWriter {
public:
    // Raises FileError when the new file cannot be created beside the old.
    explicit AtomicFileWriter(const QString &path);
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;
    // Raise FileError on any failure.
    void write(const char *data, qint64 size);
    void write(const QByteArray &bytes) { write(bytes.constData(), bytes.size()); }
    void commit();

private:
    [[noreturn]] void fail(const QString &why);

    QString m_path;
    QSaveFile m_file;
    qint64 m_written = 0;
};

// Replaces the file's content atomically; raises FileError on any failure,
// leaving the old file whole.
void ReplaceFileAtomically(const QString &path, const QByteArray &bytes);
void WriteRecordFile(const QString &path, const QStringList &lines);
// Appends lines at the end of a file, creating it when missing (a log, not a
// record file: appending is not atomic).
void AppendRecordLines(const QString &path, const QStringList &lines);
// Deletes a file when it exists; raises FileError when it cannot.
void RemoveFileIfExists(const QString &path);
// Renames source to destination in one step, replacing a destination that
// exists; raises FileError (and leaves both files as they were) when it cannot.
void RenameFileOver(const QString &source, const QString &destination);

// Test hook: when set, called before each chunk written by an
// AtomicFileWriter (and so by ReplaceFileAtomically) with the number of bytes
// written so far to that file; returning false makes the write fail there, as
// a full disk would.
using WriteFaultHook = std::function<bool(qint64 bytesWritten)>;
void SetWriteFaultHookForTesting(WriteFaultHook hook);

} // namespace qm
