#include "foundation/DateLog.h"

#include "foundation/Errors.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

namespace qm {

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

void AppendDateLog(const QStringList &lines) {
    const QString path = dataFile(DateLogFileName);
    bestEffort(path, [&] {
        const QFileInfo log(path);
        // A user deleting the log must not make every date display fail, and
        // the log must not grow without end: both start it afresh.
        if (!log.exists() || log.size() > DateLogMaxBytes)
            WriteRecordFile(path, QStringList{DateLogFirstLine} + lines);
        else
            AppendRecordLines(path, lines);
    });
}

} // namespace qm
