#include "foundation/RecordFile.h"

#include "foundation/Codec1252.h"
#include "foundation/Errors.h"

#include <QFile>
#include <QSaveFile>

namespace qm {

using namespace Qt::StringLiterals;

namespace {
WriteFaultHook g_writeFault;
constexpr qint64 ChunkSize = 64 * 1024;
} // namespace

void SetWriteFaultHookForTesting(WriteFaultHook hook) { g_writeFault = std::move(hook); }

QStringList SplitRecordLines(const QByteArray &bytes) {
    QStringList lines;
    const qsizetype size = bytes.size();
    qsizetype start = 0;
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0)
            end = size;
        // CR LF is the line end; a CR right at the end of the file is one too.
        if (end > start && bytes.at(end - 1) == '\r')
            --end;
        lines.append(DecodeCp1252(bytes.mid(start, end - start)));
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
        bool ok = true;
        bytes += EncodeCp1252(line, &ok);
        if (!ok)
            throw ConversionError(u"A Record Holds Characters That Cannot Be Saved"_s, fileForReport);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList ReadRecordFile(const QString &path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(u"Cannot Read The File: "_s + file.errorString(), path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(u"Cannot Read The File: "_s + file.errorString(), path);
    return SplitRecordLines(bytes);
}

void ReplaceFileAtomically(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(u"Cannot Write The File: "_s + file.errorString(), path);
    qint64 written = 0;
    while (written < bytes.size()) {
        if (g_writeFault && !g_writeFault(written)) {
            file.cancelWriting();
            throw FileError(u"Cannot Write The File: the disk refused the data"_s, path);
        }
        const qint64 chunk = qMin(ChunkSize, bytes.size() - written);
        if (file.write(bytes.constData() + written, chunk) != chunk) {
            const QString why = file.errorString();
            file.cancelWriting();
            throw FileError(u"Cannot Write The File: "_s + why, path);
        }
        written += chunk;
    }
    if (!file.commit())
        throw FileError(u"Cannot Write The File: "_s + file.errorString(), path);
}

void WriteRecordFile(const QString &path, const QStringList &lines) {
    ReplaceFileAtomically(path, JoinRecordLines(lines, path));
}

void AppendRecordLines(const QString &path, const QStringList &lines) {
    const QByteArray bytes = JoinRecordLines(lines, path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        throw FileError(u"Cannot Write The File: "_s + file.errorString(), path);
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw FileError(u"Cannot Write The File: "_s + file.errorString(), path);
}

void RemoveFileIfExists(const QString &path) {
    QFile file(path);
    if (file.exists() && !file.remove())
        throw FileError(u"Cannot Delete The File: "_s + file.errorString(), path);
}

} // namespace qm
