#include "foundation/RecordFile.h"

#include "foundation/Codec1252.h"
#include "foundation/Errors.h"
#include "platform/FileSync.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace qm {

using namespace Qt::StringLiterals;

namespace {
WriteFaultHook g_writeFault;
constexpr qint64 ChunkSize = 64 * 1024;

QString writeFailure(const QString &why) {
    return u"Cannot Write The File: "_s + why;
}

// Appends the Windows-1252 bytes of line to out; false when a character has
// no byte or the line holds a line feed.
bool appendEncodedLine(QByteArray &out, QStringView line) {
    const qsizetype start = out.size();
    out.resize(start + line.size() + 2);
    char *dest = out.data() + start;
    for (const QChar ch : line) {
        const char16_t c = ch.unicode();
        if (c == u'\n')
            return false;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            *dest++ = static_cast<char>(c);
        } else {
            bool ok = true;
            const QByteArray one = EncodeCp1252(QStringView(&ch, 1), &ok);
            if (!ok)
                return false;
            *dest++ = one.at(0);
        }
    }
    *dest++ = '\r';
    *dest++ = '\n';
    return true;
}
} // namespace

void SetWriteFaultHookForTesting(WriteFaultHook hook) {
    g_writeFault = std::move(hook);
}

QStringList SplitRecordLines(const QByteArray &bytes) {
    QStringList lines;
    const qsizetype size = bytes.size();
    const char *data = bytes.constData();
    // One allocation for the list, however many lines: a large file is read
    // at start-up, when every page of new memory costs.
    lines.reserve(bytes.count('\n') + 1);
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0)
            end = size;
        // CR LF is the line end; a CR right at the end of the file is one too.
        if (end > start && data[end - 1] == '\r')
            --end;
        lines.append(DecodeCp1252(QByteArray::fromRawData(data + start, end - start)));
        start = next;
    }
    return lines;
}

QByteArray JoinRecordLines(const QStringList &lines, const QString &fileForReport) {
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QByteArray bytes;
    bytes.reserve(total);
    for (const QString &line : lines) {
        if (!appendEncodedLine(bytes, line)) {
            throw ConversionError(line.contains(u'\n')
                                      ? u"A Record Holds A Line Break That Cannot Be Saved"_s
                                      : u"A Record Holds Characters That Cannot Be Saved"_s,
                                  fileForReport);
        }
    }
    return bytes;
}

QByteArray ReadFileBytes(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(u"Cannot Read The File: "_s + file.errorString(), path);
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(u"Cannot Read The File: "_s + file.errorString(), path);
    return bytes;
}

QStringList ReadRecordFile(const QString &path) {
    return SplitRecordLines(ReadFileBytes(path));
}

AtomicFileWriter::AtomicFileWriter(const QString &path) : m_path(path), m_file(path) {
    // Never fall back to writing the old file in place: that is what would
    // leave it half written.
    m_file.setDirectWriteFallback(false);
    // Unbuffered, so every write reaches the system at once and its outcome
    // is known here. A buffered write can fail in the last flush inside
    // QSaveFile::commit(), which then still renames the short file over the
    // old one and reports success.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(writeFailure(m_file.errorString()), m_path);
}

void AtomicFileWriter::fail(const QString &why) {
    m_file.cancelWriting();
    throw FileError(writeFailure(why), m_path);
}

void AtomicFileWriter::write(const char *data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        if (g_writeFault && !g_writeFault(m_written))
            fail(u"The Disk Refused The Data"_s);
        // A short write (the disk filled up part way) is followed by another
        // for the rest, which then fails with the system's reason.
        const qint64 written = m_file.write(data + done, qMin(ChunkSize, size - done));
        if (written <= 0)
            fail(m_file.errorString());
        done += written;
        m_written += written;
    }
}

void AtomicFileWriter::commit() {
    if (m_file.error() != QFileDevice::NoError)
        fail(m_file.errorString());
    // The new content must be on the disk before it replaces the old: some
    // file systems only report a full disk when asked to sync.
    QString why;
    if (!SyncFileToDisk(m_file, &why))
        fail(why);
    if (!m_file.commit())
        throw FileError(writeFailure(m_file.errorString()), m_path);
}

void ReplaceFileAtomically(const QString &path, const QByteArray &bytes) {
    AtomicFileWriter writer(path);
    writer.write(bytes);
    writer.commit();
}

void WriteRecordFile(const QString &path, const QStringList &lines) {
    // Encode first: text that cannot be stored fails before any file is touched.
    ReplaceFileAtomically(path, JoinRecordLines(lines, path));
}

void AppendRecordLines(const QString &path, const QStringList &lines) {
    const QByteArray bytes = JoinRecordLines(lines, path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw FileError(writeFailure(file.errorString()), path);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw FileError(writeFailure(file.errorString()), path);
}

void RemoveFileIfExists(const QString &path) {
    QFile file(path);
    if (file.exists() && !file.remove())
        throw FileError(u"Cannot Delete The File: "_s + file.errorString(), path);
}

void RenameFileOver(const QString &source, const QString &destination) {
    // QFile::rename refuses to replace an existing file; the standard rename
    // replaces it in one step (rename(2), MoveFileEx with REPLACE_EXISTING).
    std::error_code error;
    std::filesystem::rename(QFileInfo(source).filesystemFilePath(),
                            QFileInfo(destination).filesystemFilePath(), error);
    if (error) {
        throw FileError(u"Cannot Rename The File: "_s + QString::fromLocal8Bit(error.message()),
                        destination);
    }
}

} // namespace qm
