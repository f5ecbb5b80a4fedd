// The task and occasion views over large files: 5,000 tasks and 2,000
// occasions. Measures each view filled on the diary page (which reads its
// file again every time, as the views do) and one added record (saved), each
// against reading or writing the same bytes plainly.
//
//   bench_tasks    (QT_QPA_PLATFORM=offscreen works; no display needed)

#include "BenchData.h"
#include "BenchSupport.h"
#include "diary/ui/DiaryPage.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/SortedLines.h"
#include "platform/Clock.h"
#include "platform/Services.h"
#include "tasks/Occasions.h"
#include "tasks/Tasks.h"
#include "tasks/ui/OccasionRowSource.h"
#include "tasks/ui/TaskRowSource.h"

#include <QApplication>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

namespace {} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    BenchServices services;

    const QStringList tasks = taskLines(5000);
    const QStringList occasions = occasionLines(2000);
    qm::SaveTasksFile(tasks, false);
    qm::SaveBirthdayFile(occasions);
    const QString taskPath = qm::dataFile(qm::TasksFileName);
    const QString occasionPath = qm::dataFile(qm::BirthdayFileName);

    qm::TaskRowSource taskRows;
    qm::OccasionRowSource occasionRows;
    qm::DiaryPage page;
    page.setRowSources(&taskRows, &occasionRows);
    page.ensureBuilt();
    page.show();
    const std::vector<double> readMs = medianMs({
        {[&] { (void)readAll(taskPath); }, {}},
        {[&] { page.spdTasksClick(); }, {}},
        {[&] { (void)readAll(occasionPath); }, {}},
        {[&] { page.spdBirthdaysClick(); }, {}},
        {[&] { (void)QString::fromLatin1(readAll(taskPath)).split(u"\r\n"_s); }, {}},
        {[&] { (void)QString::fromLatin1(readAll(occasionPath)).split(u"\r\n"_s); }, {}},
    });
    page.spdTasksClick();
    const qsizetype taskRowCount = page.rowCount();
    page.spdBirthdaysClick();
    const qsizetype occasionRowCount = page.rowCount();

    // One record added; the file and the store are put back between runs.
    qm::TaskStore taskStore;
    qm::OccasionStore occasionStore;
    const QString newTask = u"20250101\u00ffN\u00ffY\u00ffNew Task"_s;
    const QString newOccasion = qm::OccasionLine(15, 6, u"New Occasion"_s);
    const auto resetTasks = [&] {
        qm::WriteRecordFile(taskPath, tasks);
        taskStore.load(tasks);
    };
    const auto resetOccasions = [&] {
        qm::WriteRecordFile(occasionPath, occasions);
        occasionStore.load(occasions);
    };
    resetTasks();
    taskStore.add(newTask);
    const QByteArray taskBytes = readAll(taskPath);
    resetOccasions();
    occasionStore.add(newOccasion);
    const QByteArray occasionBytes = readAll(occasionPath);
    const std::vector<double> writeMs = medianMs({
        {[&] { taskStore.add(newTask); }, resetTasks},
        {[&] { plainReplace(taskPath, taskBytes, true); }, resetTasks},
        {[&] { occasionStore.add(newOccasion); }, resetOccasions},
        {[&] { plainReplace(occasionPath, occasionBytes, true); }, resetOccasions},
    });

    std::printf("Tasks, median of %d runs: %lld lines, %lld bytes, %lld rows\n", Runs,
                static_cast<long long>(tasks.size()), static_cast<long long>(taskBytes.size()),
                static_cast<long long>(taskRowCount));
    std::printf("  %-36s %8.2f ms\n", "floor: read the file", readMs[0]);
    std::printf("  %-36s %8.2f ms\n", "floor: read it as lines of text", readMs[4]);
    report("task view on the diary page", readMs[1], "read", readMs[0]);
    report("", readMs[1], "read as lines", readMs[4]);
    std::printf("  %-36s %8.2f ms\n", "floor: write+flush+fsync+rename", writeMs[1]);
    report("add one task (append and save)", writeMs[0], "synced write", writeMs[1]);
    std::printf(
        "Occasions: %lld lines, %lld bytes, %lld rows\n", static_cast<long long>(occasions.size()),
        static_cast<long long>(occasionBytes.size()), static_cast<long long>(occasionRowCount));
    std::printf("  %-36s %8.2f ms\n", "floor: read the file", readMs[2]);
    std::printf("  %-36s %8.2f ms\n", "floor: read it as lines of text", readMs[5]);
    report("occasion view on the diary page", readMs[3], "read", readMs[2]);
    report("", readMs[3], "read as lines", readMs[5]);
    std::printf("  %-36s %8.2f ms\n", "floor: write+flush+fsync+rename", writeMs[3]);
    report("add one occasion (insert and save)", writeMs[2], "synced write", writeMs[3]);
    return 0;
}
