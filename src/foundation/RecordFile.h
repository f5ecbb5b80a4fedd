#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QTemporaryFile>

#include <functional>

// Reading and writing record files: Windows-1252, CR LF after every line
// (the last included), no header. Every record file is replaced atomically:
// the new content goes to a file beside the old one, is flushed to disk and
// renamed over it, so after a crash, a full disk or a killed process the file
// holds the old or the new content, never nothing and never half.
namespace qm {

// Cuts a file's bytes into lines. CR LF ends a line, and so does a lone CR
// (as some editors and older systems write) or a lone LF; a missing final line
// end is tolerated. Every reader of the record files cuts lines with this, so
// all of them agree on where one record ends and the next begins.
class LineCutter {
public:
    explicit LineCutter(QByteArrayView bytes) : m_bytes(bytes) {}
    // Moves to the next line; false when there is none left.
    bool next();
    // The line's first byte, the end of its text (before its line end) and
    // where the next line starts (after its line end).
    qsizetype start() const { return m_start; }
    qsizetype textEnd() const { return m_textEnd; }
    qsizetype end() const { return m_end; }
    QByteArrayView text() const { return m_bytes.sliced(m_start, m_textEnd - m_start); }
    // Whether the line ends as the program writes it, in CR LF.
    bool endsInCrLf() const { return m_end - m_textEnd == 2; }

private:
    QByteArrayView m_bytes;
    qsizetype m_start = 0;
    qsizetype m_textEnd = 0;
    qsizetype m_end = 0;
    // The next CR and LF at or after m_start (the size when there is none),
    // each searched for again only once passed, so cutting stays linear.
    qsizetype m_nextCr = -1;
    qsizetype m_nextLf = -1;
};

// Decodes a file's bytes into its lines, cut by LineCutter. An empty content
// gives no lines. Any other byte (NUL, undefined ones) is kept, so such lines
// are written back exactly as they were read.
QStringList SplitRecordLines(const QByteArray &bytes);
// Encodes lines, each followed by CR LF. Text that Windows-1252 cannot hold,
// and a line break (CR or LF) inside a line (it would split the record when
// read back), raise ConversionError naming the file: nothing is ever stored
// altered.
QByteArray JoinRecordLines(const QStringList &lines, const QString &fileForReport = {});

// All lines of a file; a missing file is an empty list. A file that exists
// but cannot be read raises FileError.
QStringList ReadRecordFile(const QString &path);
// The bytes of a file; a missing file gives none. Raises FileError as above.
QByteArray ReadFileBytes(const QString &path);

// Writes a file's new content beside it, in "<name>.qmsave-XXXXXX" (six
// letters or digits), a name no one else gives a file; commit() syncs it to
// the disk and renames it over the old file. Every write is checked as it is
// made, so nothing shorter than what was written is ever renamed over a good
// file. Destroyed without a commit (an exception on the way), it removes what
// it wrote and the old file stays as it was. A new file is readable by its
// owner only; a replaced one keeps its permissions. A path that is a symbolic
// link has the file it points to replaced, and stays a link.
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

    // Opened unbuffered, so every write reaches the system at once and its
    // outcome, with the system's reason, is known where it is made.
    class File : public QTemporaryFile {
    public:
        using QTemporaryFile::QTemporaryFile;
        bool openUnbuffered() { return open(QIODevice::ReadWrite | QIODevice::Unbuffered); }
    };

    QString m_path;
    // The file renamed over: m_path, or the file it links to.
    QString m_target;
    File m_file;
    qint64 m_written = 0;
};

// Removes what saves of the file at path that never finished (a killed
// process, a power cut) left beside it: only files named as AtomicFileWriter
// names its own, so nothing of the user's is touched. One that cannot be
// removed is left where it is.
void RemoveUnfinishedSavesBeside(const QString &path);

// Replaces the file's content atomically; raises FileError on any failure,
// leaving the old file whole.
void ReplaceFileAtomically(const QString &path, const QByteArray &bytes);
void WriteRecordFile(const QString &path, const QStringList &lines);
// Appends lines at the end of a file, creating it (readable by its owner
// only) when missing (a log, not a record file: appending is not atomic).
void AppendRecordLines(const QString &path, const QStringList &lines);
// Deletes a file when it exists; raises FileError when it cannot.
void RemoveFileIfExists(const QString &path);
// Gives replacement the permissions of replaced when replaced exists, as far
// as the file system allows (a file that is replaced keeps who may read it).
void KeepPermissions(const QString &replaced, const QString &replacement);
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
