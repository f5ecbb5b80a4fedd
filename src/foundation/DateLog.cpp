#include "foundation/DateLog.h"

#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

bool g_failureNoted = false;

// Runs a write of the log; a failure is noted once per run and otherwise
// ignored, so a later write may still succeed (the disk may have room again).
template <typename Write> void bestEffort(const QString &path, Write write) {
    try {
        write();
    } catch (const QuillmateError &error) {
        if (!std::exchange(g_failureNoted, true))
            qWarning("The date trace %ls cannot be written (%ls); it is skipped for this run.",
                     qUtf16Printable(QDir::toNativeSeparators(path)),
                     qUtf16Printable(error.cause()));
    }
}

} // namespace

void ResetDateLogNoteForTesting() {
    g_failureNoted = false;
}

void EnsureDateLog(const QString &path) {
    bestEffort(path, [&] {
        if (!QFileInfo::exists(path))
            WriteRecordFile(path, {DateLogFirstLine});
    });
}

namespace {

// The newest whole lines of the log within its last DateLogKeepBytes.
QByteArray newestPart(const QString &path) {
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly) || !log.seek(qMax<qint64>(0, log.size() - DateLogKeepBytes)))
        throw FileError(u"Cannot Read The File: "_s + log.errorString(), path);
    const QByteArray bytes = log.readAll();
    if (log.error() != QFileDevice::NoError)
        throw FileError(u"Cannot Read The File: "_s + log.errorString(), path);
    // The first line is most likely cut: the kept part starts after it.
    LineCutter cutter(bytes);
    if (!cutter.next() || cutter.end() == bytes.size())
        return {};
    QByteArray kept = bytes.sliced(cutter.end());
    if (!kept.endsWith('\n') && !kept.endsWith('\r'))
        kept += "\r\n";
    return kept;
}

} // namespace

void AppendDateLog(const QStringList &lines) {
    const QString path = dataFile(DateLogFileName);
    bestEffort(path, [&] {
        const QFileInfo log(path);
        // A user deleting the log must not make every date display fail: it
        // starts afresh.
        if (!log.exists()) {
            WriteRecordFile(path, QStringList{DateLogFirstLine} + lines);
        } else if (log.size() > DateLogMaxBytes) {
            // Bounded, keeping the recent part, which is the part worth reading.
            const QByteArray added = JoinRecordLines(lines, path);
            ReplaceFileAtomically(path, JoinRecordLines({DateLogFirstLine}, path) +
                                            newestPart(path) + added);
        } else {
            AppendRecordLines(path, lines);
        }
    });
}

} // namespace qm
