#include "foundation/DateLog.h"

#include "foundation/RecordFile.h"
#include "platform/Services.h"

#include <QFileInfo>

namespace qm {

void EnsureDateLog(const QString &path) {
    if (!QFileInfo::exists(path))
        WriteRecordFile(path, {DateLogFirstLine});
}

void AppendDateLog(const QStringList &lines) {
    const QString path = dataFile(DateLogFileName);
    const QFileInfo log(path);
    // A user deleting the log must not make every date display fail, and the
    // log must not grow without end: both start it afresh.
    if (!log.exists() || log.size() > DateLogMaxBytes)
        WriteRecordFile(path, QStringList{DateLogFirstLine} + lines);
    else
        AppendRecordLines(path, lines);
}

} // namespace qm
