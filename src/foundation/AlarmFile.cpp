#include "foundation/AlarmFile.h"

#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/Text.h"
#include "platform/Services.h"

namespace qm {

AlarmRecord ReadAlarmLine(const QString &line) {
    AlarmRecord record;
    const qsizetype first = line.indexOf(FieldSeparator);
    const QString rest = first < 0 ? line : line.mid(first + 1);
    if (first > 0)
        record.time = line.left(first);
    record.flag = rest.left(1);
    const qsizetype second = rest.indexOf(FieldSeparator);
    record.description = rest.mid(second + 1);
    return record;
}

QString AlarmLine(const QString &time, bool everyDay, const QString &description) {
    return time + FieldSeparator + (everyDay ? u'Y' : u'N') + FieldSeparator + description;
}

QStringList LoadAlarmLines() {
    QStringList alarms;
    for (const QString &line : ReadRecordFile(dataFile(AlarmFileName)))
        if (!IsBlank(line))
            alarms.append(line);
    return alarms;
}

void SaveAlarmFile(const QStringList &lines) {
    WriteRecordFile(dataFile(AlarmFileName), lines);
}

bool RemoveAlarmLine(const QString &line) {
    QStringList alarms = LoadAlarmLines();
    if (!alarms.removeOne(line))
        return false;
    // Rewritten in one step, never deleted first: a failed write leaves the
    // alarm where it was.
    if (alarms.isEmpty())
        RemoveFileIfExists(dataFile(AlarmFileName));
    else
        SaveAlarmFile(alarms);
    return true;
}

} // namespace qm
