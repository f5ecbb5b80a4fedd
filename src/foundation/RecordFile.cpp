#include "foundation/RecordFile.h"

#include "foundation/Codec1252.h"
#include "foundation/Errors.h"
#include "platform/FileSync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cstring>
#include <filesystem>
#include <system_error>

namespace qm {

using namespace Qt::StringLiterals;

namespace {
WriteFaultHook g_writeFault;
constexpr qint64 ChunkSize = 64 * 1024;
// What AtomicFileWriter appends to a file's name for the file it writes.
const QString UnfinishedMark = QStringLiteral(".qmsave-");
constexpr QFileDevice::Permissions OwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString writeFailure(const QString &why) {
    return u"Cannot Write The File: "_s + why;
}

// Appends the Windows-1252 bytes of line to out; false when a character has
// no byte or the line holds a line break.
bool appendEncodedLine(QByteArray &out, QStringView line) {
    const qsizetype start = out.size();
    out.resize(start + line.size() + 2);
    char *dest = out.data() + start;
    for (const QChar ch : line) {
        const char16_t c = ch.unicode();
        if (c == u'\n' || c == u'\r')
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

bool LineCutter::next() {
    const qsizetype size = m_bytes.size();
    if (m_end >= size)
        return false;
    m_start = m_end;
    const auto find = [&](char byte) {
        const void *found = std::memchr(m_bytes.data() + m_start, byte, size_t(size - m_start));
        return found ? static_cast<const char *>(found) - m_bytes.data() : size;
    };
    if (m_nextCr < m_start)
        m_nextCr = find('\r');
    if (m_nextLf < m_start)
        m_nextLf = find('\n');
    if (m_nextLf <= m_nextCr) {
        m_textEnd = m_nextLf;
        m_end = qMin(m_nextLf + 1, size);
    } else {
        m_textEnd = m_nextCr;
        m_end = m_nextCr + (m_nextLf == m_nextCr + 1 ? 2 : 1);
    }
    return true;
}

QStringList SplitRecordLines(const QByteArray &bytes) {
    QStringList lines;
    // One allocation for the list, however many lines: a large file is read
    // at start-up, when every page of new memory costs.
    lines.reserve(bytes.count('\n') + 1);
    LineCutter cutter(bytes);
    while (cutter.next())
        lines.append(DecodeCp1252(QByteArray::fromRawData(bytes.constData() + cutter.start(),
                                                          cutter.textEnd() - cutter.start())));
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
            throw ConversionError(line.contains(u'\n') || line.contains(u'\r')
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

namespace {
// The file a save replaces: a symbolic link is kept, and the file it points to
// gets the new content.
QString replacedFile(const QString &path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    return info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
}
} // namespace

AtomicFileWriter::AtomicFileWriter(const QString &path)
    : m_path(path), m_target(replacedFile(path)),
      m_file(m_target + UnfinishedMark + QStringLiteral("XXXXXX")) {
    // Created readable by the owner only, so nothing private is ever open to
    // other users, not even for the moment before it replaces a file.
    if (!m_file.openUnbuffered())
        throw FileError(writeFailure(m_file.errorString()), m_path);
}

void AtomicFileWriter::fail(const QString &why) {
    m_file.close();
    m_file.remove();
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
    // A file that is replaced keeps who may read it (best effort: some file
    // systems have no permissions to set). Set through the open file, which
    // may not have a name yet.
    if (const QFileInfo old(m_target); old.exists() && m_file.permissions() != old.permissions())
        m_file.setPermissions(old.permissions());
    // The new content must be on the disk before it replaces the old: some
    // file systems only report a full disk when asked to sync.
    QString why;
    if (!SyncFileToDisk(m_file, &why))
        fail(why);
    // Where the system can, the file has had no name so far, so a save that
    // is killed leaves nothing behind; it gets one here.
    const QString written = m_file.fileName();
    m_file.close();
    // Until the rename succeeds the written file is still removed with the
    // writer; after it, it is the file.
    RenameFileOver(written, m_target);
    m_file.setAutoRemove(false);
}

void KeepPermissions(const QString &replaced, const QString &replacement) {
    const QFileInfo old(replaced);
    if (!old.exists() || QFile::permissions(replacement) == old.permissions())
        return;
    // Best effort: some file systems (FAT, some network shares) have no
    // permissions to set and refuse, and the data matters more.
    QFile::setPermissions(replacement, old.permissions());
}

void RemoveUnfinishedSavesBeside(const QString &path) {
    const QFileInfo info(replacedFile(path));
    const QRegularExpression unfinished(
        u"^"_s + QRegularExpression::escape(info.fileName() + UnfinishedMark) +
        u"[A-Za-z0-9]{6}$"_s);
    QDir folder = info.dir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (unfinished.match(name).hasMatch())
            folder.remove(name);
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
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append, OwnerOnly))
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
