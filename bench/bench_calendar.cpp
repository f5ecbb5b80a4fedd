// Calendar export and import over generated data: 20,000 appointments, 5,000
// tasks and 2,000 occasions to one iCalendar file; and a file of 10,000
// events, 500 of them repeating weekly, read into record lines, against
// libical's parse of the same file alone (the floor).
//
//   bench_calendar

#include "BenchSupport.h"
#include "exchange/Calendar.h"
#include "exchange/ImportPlan.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <libical/ical.h>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

namespace {

QStringList taskLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(
            (i % 3 ? QDate(2024, 1, 1).addDays(i % 400).toString(u"yyyyMMdd"_s) : u"        "_s) +
            u"\u00ff"_s + (i % 4 ? u"N"_s : u"Y"_s) + u"\u00ff"_s + (i % 5 ? u"N"_s : u"Y"_s) +
            u"\u00ff"_s + QString::fromLatin1(Descriptions[i % 5]));
    return lines;
}

QStringList occasionLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(QDate(2000, 1, 1).addDays(i % 366).toString(u"MMdd"_s) + u"\u00ff"_s +
                     u"Birthday For Person %1"_s.arg(i));
    return lines;
}

QByteArray eventsFile(int events, int repeating) {
    QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\n";
    const QDate first(2024, 1, 1);
    for (int i = 0; i < events; ++i) {
        const QByteArray day = first.addDays(i / 10).toString(u"yyyyMMdd"_s).toLatin1();
        const QByteArray hour = QByteArray::number(10 + i % 10);
        ics += "BEGIN:VEVENT\r\nUID:bench-" + QByteArray::number(i) +
               "\r\nDTSTAMP:20240101T000000Z\r\nDTSTART;TZID=Europe/Paris:" + day + 'T' + hour +
               "0000\r\nDTEND;TZID=Europe/Paris:" + day + 'T' + hour +
               "4500\r\nSUMMARY:" + Descriptions[i % 5] + "\r\n";
        if (i % (events / repeating) == 0)
            ics += "RRULE:FREQ=WEEKLY\r\n";
        if (i % 3 == 0)
            ics += "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:x\r\nTRIGGER:-PT15M\r\n"
                   "END:VALARM\r\n";
        ics += "END:VEVENT\r\n";
    }
    return ics + "END:VCALENDAR\r\n";
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const qm::CalendarRecords records{diaryLines(20000), taskLines(5000), occasionLines(2000)};
    const QTimeZone london("Europe/London");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    qsizetype bytes = 0;
    const std::vector<double> exportMs = medianMs({
        {[&] { bytes = qm::ExportCalendar(records, {}, london, now).bytes.size(); }, {}},
    });
    std::printf("Export of 20,000 appointments, 5,000 tasks, 2,000 occasions (%lld bytes)\n",
                static_cast<long long>(bytes));
    std::printf("  %-36s %8.2f ms\n", "ExportCalendar", exportMs[0]);

    const QByteArray file = eventsFile(10000, 500);
    const qm::ImportWindow window{QDate(2023, 6, 1), QDate(2026, 5, 31)};
    qsizetype lines = 0;
    // What the user waits for: the file read, converted and compared with an
    // (empty) data folder, up to the summary.
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("events.ics"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size())
        qFatal("cannot write the events file");
    out.close();
    const std::vector<double> importMs = medianMs({
        {[&] { icalcomponent_free(icalparser_parse_string(file.constData())); }, {}},
        {[&] { lines = qm::ReadCalendar(file, window, london).records.appointments.size(); }, {}},
        {[&] {
             qm::ImportSource source = qm::ReadImportSource(path);
             qm::ConvertImportSource(source, window, london);
             (void)qm::PlanImport({source}, folder.path() + u'/', {});
         },
         {}},
    });
    std::printf("Import of 10,000 events, 500 repeating weekly over a three-year window "
                "(%lld lines, %lld bytes)\n",
                static_cast<long long>(lines), static_cast<long long>(file.size()));
    report("libical parse only", importMs[0], "parse", importMs[0]);
    report("ReadCalendar", importMs[1], "parse", importMs[0]);
    report("to the summary (limit 1000 ms)", importMs[2], "parse", importMs[0]);
    return 0;
}
