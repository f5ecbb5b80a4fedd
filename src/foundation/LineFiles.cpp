#include "foundation/LineFiles.h"

#include "foundation/BusyScope.h"
#include "foundation/Codec1252.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

namespace qm {

namespace {
// A task line as the task editor writes it, "yyyymmdd" ÿ completed ÿ priority
// ÿ description, marked completed. Whatever else a file holds (a line damaged
// by hand, several lines read as one) is no completed task, and a purge must
// never be what loses it.
bool isCompletedTask(const QString &line) {
    constexpr qsizetype PriorityPosition = TaskCompletedPosition + 2;
    const auto at = [&](qsizetype position) { return line.at(position - 1); };
    return line.size() > PriorityPosition && at(TaskCompletedPosition) == u'Y' &&
           at(TaskCompletedPosition - 1) == FieldSeparator &&
           at(TaskCompletedPosition + 1) == FieldSeparator &&
           at(PriorityPosition + 1) == FieldSeparator;
}
} // namespace

void SaveLineFile(const QString &path, const QStringList &lines, bool dropCompleted) {
    BusyScope busy;
    // A list that has become empty leaves no file behind.
    if (lines.isEmpty()) {
        RemoveFileIfExists(path);
        return;
    }
    if (!dropCompleted) {
        WriteRecordFile(path, lines);
        return;
    }
    QStringList kept;
    kept.reserve(lines.size());
    for (const QString &line : lines)
        if (!isCompletedTask(line))
            kept.append(line);
    // Even with nothing left to keep the file is written (empty), unlike an
    // empty list.
    WriteRecordFile(path, kept);
}

void SaveDiaryFile(const QStringList &lines) {
    SaveLineFile(dataFile(DiaryFileName), lines);
}

void SaveTasksFile(const QStringList &lines, bool dropCompleted) {
    SaveLineFile(dataFile(TasksFileName), lines, dropCompleted);
}

void SaveBirthdayFile(const QStringList &lines) {
    SaveLineFile(dataFile(BirthdayFileName), lines);
}

QStringList LoadLineFile(const QString &path) {
    return ReadRecordFile(path);
}
QStringList LoadDiaryFile() {
    return LoadLineFile(dataFile(DiaryFileName));
}
QStringList LoadTasksFile() {
    return LoadLineFile(dataFile(TasksFileName));
}
QStringList LoadBirthdayFile() {
    return LoadLineFile(dataFile(BirthdayFileName));
}

} // namespace qm
