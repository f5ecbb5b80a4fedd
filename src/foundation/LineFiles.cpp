#include "foundation/LineFiles.h"

#include "foundation/BusyScope.h"
#include "foundation/RecordFile.h"
#include "platform/Services.h"

namespace qm {

namespace {
bool isCompletedTask(const QString &line) {
    return line.size() >= TaskCompletedPosition && line.at(TaskCompletedPosition - 1) == u'Y';
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
