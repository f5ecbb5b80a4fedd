// The diary over a large "Diary.Qmt": 20,000 appointments, eight a day over
// about seven years. Measures loading the file into the store, filling the
// "All" view (the rows alone, then the diary page's list), and one added
// appointment (insert and save), each against reading or writing the same
// bytes plainly; and moving the day, week and month views one period on or
// back (the rows found and the page's list filled), against one pass over
// every line's date.
//
//   bench_diary    (QT_QPA_PLATFORM=offscreen works; no display needed)

#include "BenchSupport.h"
#include "diary/AppointmentStore.h"
#include "diary/DiaryViews.h"
#include "diary/ui/DiaryPage.h"
#include "foundation/Dates.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "platform/Clock.h"
#include "platform/Services.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace Qt::StringLiterals;
using namespace bench;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    BenchServices services;

    const QStringList lines = diaryLines(20000);
    qm::SaveDiaryFile(lines);
    const QString path = qm::dataFile(qm::DiaryFileName);
    const QByteArray bytes = readAll(path);

    qm::AppointmentStore store;
    qm::DiaryPage page;
    page.ensureBuilt();
    page.store().loadFile();
    page.show();
    const qm::ViewRange all = qm::AllView();
    qsizetype rows = 0;
    const std::vector<double> readMs = medianMs({
        {[&] { (void)readAll(path); }, {}},
        {[&] { (void)QString::fromLatin1(readAll(path)).split(u"\r\n"_s); }, {}},
        {[&] { store.loadFile(); }, {}},
        {[&] { rows = qm::LoadAppointmentView(store.lines(), all.from, all.to).size(); }, {}},
        {[&] { page.spdAllClick(); }, {}},
    });

    // Moving through time on the page over the same 20,000 lines, from a
    // period in the middle of them; each move is timed to the filled list.
    const QDate middle(2023, 6, 14);
    const QString middleDay = qm::DateToSortable(middle);
    const auto moveIn = [&](const QString &view, int steps) {
        return Task{[&page, steps] { page.stepPeriod(steps); },
                    [&page, view, middle] {
                        page.pressViewButton(view);
                        page.showPeriodOf(middle);
                    }};
    };
    qsizetype inWeek = 0;
    const std::vector<double> moveMs = medianMs({
        {[&] {
             // What finding a period's lines cost before: a look at every line.
             inWeek = std::count_if(page.store().lines().cbegin(), page.store().lines().cend(),
                                    [&](const QString &line) {
                                        return QStringView(line).left(8) == middleDay;
                                    });
         },
         {}},
        moveIn(u"Daily"_s, 1),
        moveIn(u"Daily"_s, -1),
        moveIn(u"Weekly"_s, 1),
        moveIn(u"Weekly"_s, -1),
        moveIn(u"Monthly"_s, 1),
        moveIn(u"Monthly"_s, -1),
    });

    // One appointment added in the middle of the diary; the store is put back
    // between runs (not timed).
    const QString added = u"20230615\u00ff12:10\u00ff12:40\u00ffNew Appointment\u00ff0\u00ffN"_s;
    const auto reset = [&] {
        store.load(lines);
        qm::WriteRecordFile(path, lines);
    };
    QByteArray addedBytes;
    {
        reset();
        store.add(added);
        addedBytes = readAll(path);
    }
    const std::vector<double> writeMs = medianMs({
        {[&] { store.add(added); }, reset},
        {[&] { plainReplace(path, addedBytes, false); }, reset},
        {[&] { plainReplace(path, addedBytes, true); }, reset},
    });

    std::printf("Diary, median of %d runs: %lld lines, %lld bytes, %lld rows in the All view\n",
                Runs, static_cast<long long>(lines.size()), static_cast<long long>(bytes.size()),
                static_cast<long long>(rows));
    std::printf("  %-36s %8.2f ms\n", "floor: read the file", readMs[0]);
    std::printf("  %-36s %8.2f ms\n", "floor: read it as lines of text", readMs[1]);
    report("load into the store", readMs[2], "read", readMs[0]);
    report("", readMs[2], "read as lines", readMs[1]);
    report("All view rows", readMs[3], "read", readMs[0]);
    report("All view on the diary page", readMs[4], "read", readMs[0]);
    std::printf("  %-36s %8.2f ms   (%lld lines that day)\n", "a pass over every line's date",
                moveMs[0], static_cast<long long>(inWeek));
    const char *const moves[] = {"next day", "previous day", "next week", "previous week",
                                 "next month", "previous month"};
    for (int i = 0; i < 6; ++i)
        report((std::string("move to the ") + moves[i]).c_str(), moveMs[size_t(i) + 1],
               "a pass over every line", moveMs[0]);
    std::printf("  %-36s %8.2f ms\n", "floor: write+flush+rename", writeMs[1]);
    std::printf("  %-36s %8.2f ms\n", "floor: write+flush+fsync+rename", writeMs[2]);
    report("add one (insert and save)", writeMs[0], "synced write", writeMs[2]);
    report("", writeMs[0], "unsynced write", writeMs[1]);
    return 0;
}
