#include "exchange/Calendar.h"
#include "foundation/Codec1252.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace qm;
using test::TestData;

namespace {

const QTimeZone London("Europe/London");
const ImportWindow Window{QDate(2024, 1, 1), QDate(2025, 12, 31)};
const ImportWindow WideWindow{QDate(1899, 1, 1), QDate(2199, 12, 31)};
const QDateTime Now(QDate(2024, 3, 15), QTime(12, 0), QTimeZone::utc());

// Lines written with "|" for the separator.
QStringList lines(const QString &compact) {
    if (compact.isEmpty())
        return {};
    return QString(compact).replace(u'|', FieldSeparator).split(u'\n');
}

QByteArray calendar(const QByteArray &body) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//Test//EN\r\n" + body +
           "\r\nEND:VCALENDAR\r\n";
}

QByteArray vevent(const QString &properties) {
    return "BEGIN:VEVENT\nUID:x\nSUMMARY:Meeting\n" + properties.toUtf8() + "\nEND:VEVENT";
}

// Notes as "Reason=count" joined by ";", in the order they were met.
QString notesText(const ImportNotes &notes) {
    QStringList parts;
    for (const auto &[reason, count] : notes.items())
        parts.append(reason + u'=' + QString::number(count));
    return parts.join(u';');
}

// Lines of a data file in the order their store keeps them.
QStringList sortedAsStored(QStringList list, bool sorted) {
    if (sorted)
        std::stable_sort(list.begin(), list.end(), [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) < 0;
        });
    return list;
}

CalendarRecords dataSets() {
    return {SplitRecordLines(TestData(u"diary/sorted_five.qmt"_s)),
            SplitRecordLines(TestData(u"tasks/mixed.qmt"_s)),
            SplitRecordLines(TestData(u"tasks/birthann.qmt"_s))};
}

// The calendar's text without its VTIMEZONE, which is the system zone data
// as libical renders it and changes with that data.
QByteArray withoutTimezone(QByteArray ics) {
    const qsizetype begin = ics.indexOf("BEGIN:VTIMEZONE\r\n");
    const qsizetype end = ics.indexOf("END:VTIMEZONE\r\n");
    if (begin >= 0 && end > begin)
        ics.remove(begin, end + 15 - begin);
    return ics;
}

} // namespace

class TestICalendar : public QObject {
    Q_OBJECT
private slots:
    void importRules_data();
    void importRules();
    void goldenImport_data();
    void goldenImport();
    void goldenExport();
    void exportRules_data();
    void exportRules();
    void roundTrip();
    void oracleReadsExport();
    void hostileInput_data();
    void hostileInput();
};

void TestICalendar::importRules_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QDate>("to"); // the window's last day; it starts 1 January 2024
    QTest::addColumn<QString>("appointments");
    QTest::addColumn<QString>("tasks");
    QTest::addColumn<QString>("occasions");
    QTest::addColumn<QString>("notes");
    const QDate to = Window.to;
    const QString summer = u"DTSTART;TZID=Europe/Paris:20240615T100000\n"
                           "DTEND;TZID=Europe/Paris:20240615T113000"_s;

    QTest::newRow("zone to local")
        << vevent(summer) << to << u"20240615|09:00|10:30|Meeting|0|N"_s << u""_s << u""_s << u""_s;
    QTest::newRow("across midnight, reminder on the first day")
        << vevent(u"DTSTART:20240315T220000Z\nDTEND:20240316T020000Z\n"
                  "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT10M\nEND:VALARM"_s)
        << to << u"20240315|22:00|23:59|Meeting|10|N\n20240316|00:00|02:00|Meeting|0|N"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("three days ending at midnight")
        << vevent(u"DTSTART:20240315T090000\nDTEND:20240318T000000"_s) << to
        << u"20240315|09:00|23:59|Meeting|0|N\n20240316|00:00|23:59|Meeting|0|N\n"
           "20240317|00:00|23:59|Meeting|0|N"_s
        << u""_s << u""_s << u""_s;
    QTest::newRow("no end lasts a minute")
        << vevent(u"DTSTART:20240315T090000"_s) << to << u"20240315|09:00|09:01|Meeting|0|N"_s
        << u""_s << u""_s << u""_s;
    QTest::newRow("no length at 23:59")
        << vevent(u"DTSTART:20240315T235900"_s) << to << u""_s << u""_s << u""_s
        << CalendarText::NoRoomAtMidnight + u"=1"_s;
    QTest::newRow("seconds dropped, duration")
        << vevent(u"DTSTART:20240315T090030\nDURATION:PT15M30S"_s) << to
        << u"20240315|09:00|09:16|Meeting|0|N"_s << u""_s << u""_s << u""_s;
    QTest::newRow("all-day span")
        << vevent(u"DTSTART;VALUE=DATE:20240315\nDTEND;VALUE=DATE:20240317\nSTATUS:TENTATIVE"_s)
        << to << u"20240315|00:00|23:59|Meeting|0|Y\n20240316|00:00|23:59|Meeting|0|Y"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("yearly on 29 February is an occasion")
        << vevent(u"DTSTART;VALUE=DATE:19960229\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29\n"
                  "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT10M\nEND:VALARM"_s)
        << to << u""_s << u""_s << u"0229|Meeting"_s
        << CalendarText::OccasionRemindersLeftOut + u"=1"_s;
    QTest::newRow("every second year is not")
        << vevent(u"DTSTART;VALUE=DATE:20230601\nRRULE:FREQ=YEARLY;INTERVAL=2"_s) << to
        << u"20250601|00:00|23:59|Meeting|0|N"_s << u""_s << u""_s << u""_s;
    QTest::newRow("daily since 1940, window of two days")
        << vevent(u"DTSTART:19400101T080000Z\nDTEND:19400101T083000Z\nRRULE:FREQ=DAILY"_s)
        << QDate(2024, 1, 2)
        << u"20240101|08:00|08:30|Meeting|0|N\n20240102|08:00|08:30|Meeting|0|N"_s << u""_s << u""_s
        << u""_s;
    QTest::newRow("exclusion and moved occurrence")
        << vevent(u"DTSTART;TZID=America/New_York:20240101T090000\n"
                  "DTEND;TZID=America/New_York:20240101T100000\nRRULE:FREQ=WEEKLY;COUNT=4\n"
                  "EXDATE;TZID=America/New_York:20240108T090000"_s) +
               "\n" +
               vevent(u"RECURRENCE-ID;TZID=America/New_York:20240115T090000\n"
                      "DTSTART;TZID=America/New_York:20240116T100000\n"
                      "DTEND;TZID=America/New_York:20240116T110000"_s) +
               "\n" +
               vevent(u"RECURRENCE-ID;TZID=America/New_York:20240122T090000\n"
                      "DTSTART;TZID=America/New_York:20240122T090000\nSTATUS:CANCELLED"_s)
        << to << u"20240101|14:00|15:00|Meeting|0|N\n20240116|15:00|16:00|Meeting|0|N"_s << u""_s
        << u""_s << u""_s;
    QTest::newRow("reminders: rounded up, earliest that fits")
        << vevent(u"DTSTART:20240315T090000Z\nBEGIN:VALARM\nTRIGGER:-PT90S\nEND:VALARM\n"
                  "BEGIN:VALARM\nTRIGGER:-PT15M\nEND:VALARM\n"
                  "BEGIN:VALARM\nTRIGGER:-P1D\nEND:VALARM"_s)
        << to << u"20240315|09:00|09:01|Meeting|15|N"_s << u""_s << u""_s << u""_s;
    QTest::newRow("reminders: longer than an hour")
        << vevent(u"DTSTART:20240315T090000Z\nBEGIN:VALARM\nTRIGGER:-PT2H\nEND:VALARM"_s) << to
        << u"20240315|09:00|09:01|Meeting|60|N"_s << u""_s << u""_s
        << CalendarText::RemindersSetTo60 + u"=1"_s;
    QTest::newRow("reminders: after start, from end, fixed time")
        << vevent(u"DTSTART:20240315T090000Z\nBEGIN:VALARM\nTRIGGER:PT5M\nEND:VALARM\n"
                  "BEGIN:VALARM\nTRIGGER;RELATED=END:-PT5M\nEND:VALARM\n"
                  "BEGIN:VALARM\nTRIGGER;VALUE=DATE-TIME:20240315T080000Z\nEND:VALARM"_s)
        << to << u"20240315|09:00|09:01|Meeting|0|N"_s << u""_s << u""_s
        << CalendarText::RemindersLeftOut + u"=3"_s;
    QTest::newRow("not taken") << vevent(u"DTSTART:20240315T090000Z\nSTATUS:CANCELLED"_s) + "\n" +
                                      vevent(u"DTSTART:20230315T090000Z"_s) + "\n" +
                                      vevent(u"DTSTART:23000315T090000Z"_s) + "\n" +
                                      "BEGIN:VEVENT\nDTSTART:20240315T090000Z\nEND:VEVENT\n" +
                                      "BEGIN:VEVENT\nSUMMARY:No start\nEND:VEVENT\n" +
                                      "BEGIN:VJOURNAL\nSUMMARY:Diary\nEND:VJOURNAL"
                               << to << u""_s << u""_s << u""_s
                               << CalendarText::CancelledEvents + u"=1;"_s +
                                      CalendarText::OutsideWindow + u"=1;"_s +
                                      CalendarText::OutsideYears + u"=1;"_s +
                                      CalendarText::EventsWithoutSummary + u"=1;"_s +
                                      CalendarText::EventsWithoutStart + u"=1;"_s +
                                      CalendarText::OtherItems + u"=1"_s;
    QTest::newRow("unknown zone is local time")
        << vevent(u"DTSTART;TZID=Mars/Olympus:20240615T100000"_s) << to
        << u"20240615|10:00|10:01|Meeting|0|N"_s << u""_s << u""_s
        << CalendarText::UnknownTimeZone + u"=1"_s;
    QTest::newRow("summary fitted")
        << vevent(u"DTSTART:20240315T090000Z\nSUMMARY:Caf\u00e9 \U0001F382 "_s + QString(80, u'x'))
               .replace("SUMMARY:Meeting\n", "")
        << to << u"20240315|09:00|09:01|Caf\u00e9 ? "_s + QString(68, u'x') + u"|0|N"_s << u""_s
        << u""_s << ExchangeText::CharactersReplaced + u"=1;"_s + ExchangeText::ValuesCut + u"=1"_s;
    QTest::newRow("to-dos")
        << u"BEGIN:VTODO\nSUMMARY:Due in Tokyo\nDUE;TZID=Asia/Tokyo:20240316T070000\n"
           "PRIORITY:4\nEND:VTODO\n"
           "BEGIN:VTODO\nSUMMARY:Done\nCOMPLETED:20240301T100000Z\nPRIORITY:5\n"
           "RRULE:FREQ=DAILY\nEND:VTODO\n"
           "BEGIN:VTODO\nSUMMARY:Dropped\nSTATUS:CANCELLED\nEND:VTODO\n"
           "BEGIN:VTODO\nSUMMARY:Far\nDUE;VALUE=DATE:22500101\nSTATUS:COMPLETED\nEND:VTODO\n"
           "BEGIN:VTODO\nDUE;VALUE=DATE:20240101\nEND:VTODO"_s.toUtf8()
        << to << u""_s << u"20240315|N|Y|Due in Tokyo\n        |Y|N|Done\n        |Y|N|Far"_s
        << u""_s
        << CalendarText::CancelledTodos + u"=1;"_s + CalendarText::DueDatesOutsideYears + u"=1;"_s +
               CalendarText::TodosWithoutSummary + u"=1"_s;
}

void TestICalendar::importRules() {
    QFETCH(QByteArray, body);
    QFETCH(QDate, to);
    QFETCH(QString, appointments);
    QFETCH(QString, tasks);
    QFETCH(QString, occasions);
    QFETCH(QString, notes);
    const CalendarRead read = ReadCalendar(calendar(body), {Window.from, to}, London);
    QCOMPARE(read.error, QString());
    QCOMPARE(read.records.appointments, lines(appointments));
    QCOMPARE(read.records.tasks, lines(tasks));
    QCOMPARE(read.records.occasions, lines(occasions));
    QCOMPARE(notesText(read.notes), notes);
}

void TestICalendar::goldenImport_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("notes");
    QTest::newRow("web calendar") << u"web-calendar"_s << u""_s;
    QTest::newRow("mail program") << u"mail-program"_s
                                  << CalendarText::RemindersSetTo60 + u"=1;"_s +
                                         CalendarText::UnknownTimeZone + u"=1"_s;
    QTest::newRow("phone") << u"phone"_s << CalendarText::OutsideWindow + u"=1"_s;
    QTest::newRow("all-day and birthdays")
        << u"all-day"_s << CalendarText::OccasionRemindersLeftOut + u"=1"_s;
    QTest::newRow("repeats") << u"repeats"_s << CalendarText::OutsideWindow + u"=1"_s;
    QTest::newRow("folded lines") << u"folded"_s
                                  << ExchangeText::CharactersReplaced + u"=1;"_s +
                                         ExchangeText::LineBreaksReplaced + u"=1"_s;
    QTest::newRow("to-dos") << u"todos"_s << CalendarText::OtherItems + u"=1"_s;
}

void TestICalendar::goldenImport() {
    QFETCH(QString, name);
    QFETCH(QString, notes);
    const QString base = u"exchange/ics/"_s + name;
    const CalendarRead read = ReadCalendar(TestData(base + u".ics"_s), Window, London);
    QCOMPARE(read.error, QString());
    const auto bytes = [](const QStringList &list) {
        return list.isEmpty() ? QByteArray() : JoinRecordLines(list);
    };
    QCOMPARE(bytes(read.records.appointments), TestData(base + u".Diary.Qmt"_s));
    QCOMPARE(bytes(read.records.tasks), TestData(base + u".Tasks.Qmt"_s));
    QCOMPARE(bytes(read.records.occasions), TestData(base + u".BirthAnn.Qmt"_s));
    QCOMPARE(notesText(read.notes), notes);
}

void TestICalendar::goldenExport() {
    const ExportResult result = ExportCalendar(dataSets(), {}, London, Now);
    QVERIFY(result.bytes.contains("BEGIN:VTIMEZONE\r\nTZID:Europe/London\r\n"));
    QCOMPARE(withoutTimezone(result.bytes), TestData(u"exchange/ics/export-london.ics"_s));
    QCOMPARE(result.appointments, 5);
    QCOMPARE(result.tasks, 5);
    QCOMPARE(result.occasions, 3);
    QCOMPARE(notesText(result.notes), CalendarText::UnreadableTasks + u"=2"_s);
}

void TestICalendar::exportRules_data() {
    QTest::addColumn<QString>("appointments");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("everything");
    QTest::addColumn<QStringList>("expected"); // content lines the file must hold
    QTest::addColumn<QString>("notes");
    const QString good = u"20240315|09:30|10:15|Dentist|15|Y"_s;
    QTest::newRow("UTC times carry Z and no zone")
        << good << u"UTC"_s << true
        << QStringList{u"DTSTART:20240315T093000Z"_s, u"DTEND:20240315T101500Z"_s,
                       u"TRIGGER:-PT15M"_s, u"STATUS:TENTATIVE"_s}
        << u""_s;
    QTest::newRow("a zone libical lacks is written in UTC")
        << good << u"UTC+02:00"_s << true << QStringList{u"DTSTART:20240315T073000Z"_s} << u""_s;
    QTest::newRow("unreadable lines")
        << u"20240230|09:30|10:15|Not a day|0|N\n21000101|09:30|10:15|Short|0\n"
           "20240315|10:15|10:15|No length|0|N\n20240315|09:30|10:15| |0|N\n"
           "18981231|09:30|10:15|Too early|0|N\n20240315|9:30|10:15|Odd time|0|N"_s
        << u"Europe/London"_s << true << QStringList{}
        << CalendarText::UnreadableAppointments + u"=6"_s;
    QTest::newRow("range leaves out other days and the lists")
        << u"20240314|09:30|10:15|Before|0|N\n"_s + good + u"\n20240316|09:30|10:15|After|0|N"_s
        << u"Europe/London"_s << false
        << QStringList{u"DTSTART;TZID=Europe/London:20240315T093000"_s} << u""_s;
}

void TestICalendar::exportRules() {
    QFETCH(QString, appointments);
    QFETCH(QString, zone);
    QFETCH(bool, everything);
    QFETCH(QStringList, expected);
    QFETCH(QString, notes);
    CalendarRecords records{lines(appointments), lines(u"        |N|N|A task"_s),
                            lines(u"0229|Leap"_s)};
    const QDate day(2024, 3, 15);
    const ExportResult result =
        ExportCalendar(records, {everything, day, day}, QTimeZone(zone.toLatin1()), Now);
    const QStringList content = QString::fromUtf8(result.bytes).split(u"\r\n"_s);
    for (const QString &line : expected)
        QVERIFY2(content.contains(line), qPrintable(line));
    QCOMPARE(notesText(result.notes), notes);
    QCOMPARE(result.appointments, content.count(u"BEGIN:VEVENT"_s) - result.occasions);
    QCOMPARE(result.tasks + result.occasions, everything ? 2 : 0);
    // The same records give the same file, the stamps apart.
    QCOMPARE(ExportCalendar(records, {everything, day, day}, QTimeZone(zone.toLatin1()), Now).bytes,
             result.bytes);
}

void TestICalendar::roundTrip() {
    CalendarRecords records = dataSets();
    // A duplicate line keeps its own item.
    records.appointments.append(records.appointments.first());
    const ExportResult result = ExportCalendar(records, {}, London, Now);
    const CalendarRead read = ReadCalendar(result.bytes, WideWindow, London);
    QCOMPARE(read.error, QString());
    QCOMPARE(sortedAsStored(read.records.appointments, true),
             sortedAsStored(records.appointments, true));
    QCOMPARE(sortedAsStored(read.records.occasions, true), sortedAsStored(records.occasions, true));
    // The task lines the list can show come back in file order, a separator
    // in a description too (the last field may hold it).
    QStringList tasks;
    for (const QString &line : records.tasks)
        if (line.size() > 13 && (line.at(9) == u'Y' || line.at(9) == u'N'))
            tasks.append(line);
    QCOMPARE(read.records.tasks, tasks);
}

void TestICalendar::oracleReadsExport() {
    const QString python = u"/usr/bin/python3"_s;
    if (!QFileInfo::exists(python))
        QSKIP("/usr/bin/python3 is not installed");
    QProcess check;
    check.start(python, {u"-c"_s, u"import icalendar"_s});
    if (!check.waitForFinished(30000) || check.exitCode() != 0)
        QSKIP("the Python module icalendar is not installed (python3-icalendar)");

    const CalendarRecords records = dataSets();
    const ExportResult result = ExportCalendar(records, {}, London, Now);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"export.ics"_s);
    test::WriteBytes(path, result.bytes);
    QProcess oracle;
    oracle.start(python, {QStringLiteral(QM_TEST_DATA_DIR "/../exchange/oracle_ics.py"), path,
                          u"Europe/London"_s});
    QVERIFY(oracle.waitForFinished(60000));
    QCOMPARE(QString::fromUtf8(oracle.readAllStandardError()), QString());
    const QStringList listing =
        QString::fromUtf8(oracle.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);

    // What went in, in the oracle's terms.
    QStringList expected;
    for (const QString &line : records.appointments) {
        const QStringList f = line.split(FieldSeparator);
        expected.append(u"event %1 %2-%3 %4 reminder=%5 status=%6"_s.arg(
            f[0], f[1], f[2], f[3], f[4], f[5] == u"Y" ? u"TENTATIVE"_s : u"-"_s));
    }
    for (const QString &line : records.tasks) {
        if (line.size() < 14 || (line.at(9) != u'Y' && line.at(9) != u'N'))
            continue;
        expected.append(u"todo due=%1 %2 priority=%3 status=%4"_s.arg(
            line.left(8).trimmed().isEmpty() ? u"-"_s : line.left(8), line.mid(13),
            line.at(11) == u'Y' ? u"1"_s : u"-"_s,
            line.at(9) == u'Y' ? u"COMPLETED"_s : u"NEEDS-ACTION"_s));
    }
    for (const QString &line : records.occasions)
        expected.append(u"yearly 2000%1 %2"_s.arg(line.left(4), line.mid(5)));
    QCOMPARE(listing, expected);
}

void TestICalendar::hostileInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("note"); // one note the import must give
    QTest::addColumn<int>("appointments");
    const QByteArray good =
        calendar(vevent(u"DTSTART:20240315T090000Z\nBEGIN:VALARM\nTRIGGER:-PT5M\nEND:VALARM"_s));
    QTest::newRow("empty") << QByteArray() << CalendarText::NoCalendar << u""_s << 0;
    QTest::newRow("garbage") << QByteArray("\x00\xff\xfe BEGIN:\x80\x81\r\n\r\n:::;;;", 17)
                             << CalendarText::NoCalendar << u""_s << 0;
    QTest::newRow("event without calendar")
        << vevent(u"DTSTART:20240315T090000Z"_s) << CalendarText::NoCalendar << u""_s << 0;
    QTest::newRow("truncated") << good.left(good.size() - 40) << u""_s << u""_s << 1;
    QTest::newRow("begin without end")
        << QByteArray("BEGIN:VCALENDAR\nBEGIN:VEVENT\nBEGIN:VEVENT\nBEGIN:VALARM\n"
                      "SUMMARY:x\nDTSTART:20240315T090000Z\n")
        << u""_s << u""_s << 0;
    QByteArray huge = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:";
    huge.append(QByteArray(20 * 1024 * 1024, 'a'));
    huge.append("\r\nDTSTART:20240315T090000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    QTest::newRow("20 MB line") << huge << u""_s << ExchangeText::ValuesCut << 1;
    QTest::newRow("every second") << calendar(
                                         vevent(u"DTSTART:20240101T000000Z\nRRULE:FREQ=SECONDLY"_s))
                                  << u""_s << CalendarText::CutShort << -1;
    QTest::newRow("a billion times, before the window")
        << calendar(vevent(u"DTSTART:19000101T000000Z\nRRULE:FREQ=SECONDLY;COUNT=1000000000"_s))
        << u""_s << CalendarText::CutShort << 0;
    QTest::newRow("until 9999")
        << calendar(
               vevent(u"DTSTART:20240101T000000Z\nRRULE:FREQ=MINUTELY;UNTIL=99991231T000000Z"_s))
        << u""_s << CalendarText::CutShort << -1;
    QTest::newRow("rule that never matches")
        << calendar(
               vevent(u"DTSTART:20240101T000000Z\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30"_s))
        << u""_s << u""_s << 1;
    QTest::newRow("zone whose changes come every second")
        << calendar("BEGIN:VTIMEZONE\nTZID:Bad\nBEGIN:STANDARD\nDTSTART:19000101T000000\n"
                    "TZOFFSETFROM:+0000\nTZOFFSETTO:+0100\nRRULE:FREQ=SECONDLY\nEND:STANDARD\n"
                    "END:VTIMEZONE\n" +
                    vevent(u"DTSTART;TZID=Bad:20240315T090000"_s))
        << u""_s << CalendarText::UnknownTimeZone << 1;
}

void TestICalendar::hostileInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(QString, note);
    QFETCH(int, appointments);
    const CalendarRead read = ReadCalendar(bytes, Window, London);
    QCOMPARE(read.error, error);
    if (appointments >= 0)
        QCOMPARE(read.records.appointments.size(), appointments);
    if (!note.isEmpty())
        QVERIFY2(read.notes.count(note) > 0, qPrintable(notesText(read.notes)));
}

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
