// The reminder timer's tick over a large diary: 20,000 appointments, eight a
// day over about seven years, each with a reminder, and three alarms. One tick
// reads "Alarm.Qmt", builds the entries of the day and finds what is due; it
// runs every 50 seconds for as long as the program runs, so it must cost
// next to nothing and must not grow with the diary.
//
//   bench_reminders

#include "BenchSupport.h"
#include "diary/AppointmentStore.h"
#include "diary/ReminderQueue.h"
#include "foundation/AlarmFile.h"
#include "platform/Services.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    BenchServices services;

    qm::AppointmentStore store;
    store.load(diaryLines(20000));
    qm::SaveAlarmFile(
        {u"07:30\u00ffY\u00ffWake Up"_s, u"12:45\u00ffN\u00ffLunch"_s, u"18:00\u00ffY\u00ffTea"_s});
    // A day in the middle of the diary, at a minute when one reminder is due.
    const QDateTime now(QDate(2023, 6, 15), QTime(9, 45, 20));
    qm::ReminderWatch previous;
    previous.checked(now.addSecs(-50));

    qm::ReminderWatch watch;
    int found = 0;
    int entries = 0;
    volatile int sink = 0;
    const std::vector<double> ms = medianMs({
        {[&] {
             for (;;) {
                 const auto entry = watch.next(now, store.lines(), qm::LoadAlarmLines());
                 if (!entry)
                     break;
                 watch.shown(*entry);
                 ++found;
             }
             watch.checked(now);
         },
         [&] { watch = previous; }},
        {[&] { (void)qm::LoadAlarmLines(); }, {}},
        {[&] { entries = int(qm::RemindersDueOn(store.lines(), {}, now.date()).size()); }, {}},
        {[&] {
             // The floor a whole-store scan would cost: look at every date.
             int today = 0;
             const QString date = now.date().toString(u"yyyyMMdd"_s);
             for (const QString &line : store.lines())
                 today += line.startsWith(date);
             sink = today;
         },
         {}},
    });
    std::printf("Reminder tick, median of %d runs: %lld appointments, %d due at the tick "
                "(%d reminders that day)\n",
                Runs, static_cast<long long>(store.size()), found / Runs, entries);
    std::printf("  %-40s %8.3f ms\n", "one tick (alarm file, entries, due check)", ms[0]);
    std::printf("  %-40s %8.3f ms\n", "  of which reading \"Alarm.Qmt\"", ms[1]);
    std::printf("  %-40s %8.3f ms\n", "  the day's entries alone", ms[2]);
    std::printf("  %-40s %8.3f ms\n", "for scale: one pass over the whole store", ms[3]);
    return 0;
}
