#include "exchange/CommandLine.h"
#include "exchange/ImportPlan.h"
#include "foundation/Codec1252.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/SortedLines.h"
#include "platform/ui/SingleInstance.h"
#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

const QChar Sep = FieldSeparator;

QString appointment(const QString &date, const QString &description) {
    return date + Sep + u"09:00"_s + Sep + u"10:00"_s + Sep + description + Sep + u"0"_s + Sep +
           u"N"_s;
}

AddressRecord contact(const QString &last, const QString &first, const QString &birthday) {
    AddressRecord record;
    AddressField(record, 2) = u"P"_s;
    AddressField(record, 4) = last;
    AddressField(record, 5) = first;
    AddressField(record, 17) = birthday;
    return record;
}

ImportSource calendarSource(const CalendarRecords &records) {
    ImportSource source;
    source.path = u"in.ics"_s;
    source.kind = ImportKind::Calendar;
    source.calendar.records = records;
    return source;
}

ImportSource contactSource(const QList<AddressRecord> &contacts) {
    ImportSource source;
    source.path = u"in.vcf"_s;
    source.kind = ImportKind::Contacts;
    source.contacts.contacts = contacts;
    return source;
}

// A data folder holding the test data sets.
void fillFolder(const QString &folder) {
    WriteBytes(folder + DiaryFileName, TestData(u"diary/sorted_five.qmt"_s));
    WriteBytes(folder + TasksFileName, TestData(u"tasks/mixed.qmt"_s));
    WriteBytes(folder + BirthdayFileName, TestData(u"tasks/birthann.qmt"_s));
    WriteBytes(folder + AddressFileName, TestData(u"address/e2e_edited.qmt"_s));
    WriteBytes(folder + NextKeyFileName, "303\r\n");
}

QStringList recordLines(const QString &path) {
    return SplitRecordLines(ReadBytes(path));
}

} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void addsOnlyWhatIsNewInOneWriteEach();
    void aFileThatCannotBeWrittenStaysWhole();
    void filesThatCannotBeImported_data();
    void filesThatCannotBeImported();
    void commandLineArguments_data();
    void commandLineArguments();
    void commandLineRoundTripAndRunningOrganiser();
};

// Records already in the folder, or earlier in the files, are counted and not
// added; every file is written once, in the order its store keeps; a second
// import of the same files adds nothing.
void TestImport::addsOnlyWhatIsNewInOneWriteEach() {
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    fillFolder(folder);
    const QStringList diary = recordLines(folder + DiaryFileName);
    const QStringList tasks = recordLines(folder + TasksFileName);
    const QList<AddressRecord> contacts = ReadWholeAddressRecords(folder + AddressFileName);

    const QString early = appointment(u"20240101"_s, u"New year"_s);
    const QString newTask = u"        "_s + Sep + u"N"_s + Sep + u"Y"_s + Sep + u"Imported"_s;
    CalendarRecords records{{early, diary.at(2), early}, {tasks.first(), newTask}, {}};
    AddressRecord known = contacts.at(1);
    AddressField(known, 1).clear();
    const AddressRecord bob = contact(u"Jones"_s, u" Bob "_s, u"19700601"_s);
    const AddressRecord cy = contact(u"Baker"_s, u"Cy"_s, u"19700102"_s);
    const QList<ImportSource> sources{calendarSource(records), contactSource({known, bob, cy, cy})};

    const ImportPlan plan = PlanImport(sources, folder, {true});
    QCOMPARE(plan.appointments, QStringList{early});
    QCOMPARE(plan.appointmentsThere, 2);
    QCOMPARE(plan.tasks, QStringList{newTask});
    QCOMPARE(plan.tasksThere, 1);
    // As the contact editor adds them: the names trimmed; Bob's is there.
    QCOMPARE(plan.occasions, (QStringList{u"0307"_s + Sep + u"Birthday For Ann Adams"_s,
                                          u"0102"_s + Sep + u"Birthday For Cy Baker"_s}));
    QCOMPARE(plan.occasionsThere, 2);
    QCOMPARE(plan.contacts, (QList<AddressRecord>{bob, cy}));
    QCOMPARE(plan.contactsThere, 2);

    const ImportOutcome outcome = ApplyImport(plan, folder);
    QVERIFY(outcome.ok());
    QStringList sortedDiary = diary + QStringList{early};
    SortLines(sortedDiary);
    QCOMPARE(ReadBytes(folder + DiaryFileName), JoinRecordLines(sortedDiary));
    QCOMPARE(ReadBytes(folder + TasksFileName),
             TestData(u"tasks/mixed.qmt"_s) + JoinRecordLines({newTask}));
    // The new contact comes first with the next key; the others follow as
    // they were, byte for byte.
    QStringList added;
    for (AddressRecord record : {bob, cy}) {
        AddressField(record, 1) = u"30"_s + QString::number(4 + added.size() / 17);
        added += QStringList(record.begin(), record.end());
    }
    QCOMPARE(ReadBytes(folder + AddressFileName),
             JoinRecordLines(added) + TestData(u"address/e2e_edited.qmt"_s));
    QCOMPARE(ReadBytes(folder + NextKeyFileName), QByteArray("305\r\n"));

    const ImportPlan again = PlanImport(sources, folder, {true});
    QCOMPARE(again.toAdd(), 0);
    QCOMPARE(again.appointmentsThere, 3);
    QCOMPARE(again.contactsThere, 4);
}

// A full disk: the file that cannot be written keeps its old content and is
// named with the reason; the files that could be written are.
void TestImport::aFileThatCannotBeWrittenStaysWhole() {
    qm::test::SmallDisk disk(u"64k"_s);
    if (!disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString folder = disk.folder();
    fillFolder(folder);
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many.append(
            appointment(u"20250101"_s, u"Imported appointment number "_s + QString::number(i)));
    const QString newTask = u"        "_s + Sep + u"N"_s + Sep + u"N"_s + Sep + u"Small"_s;
    const ImportPlan plan = PlanImport({calendarSource({many, {newTask}, {}})}, folder, {});
    disk.fill(8192);

    const ImportOutcome outcome = ApplyImport(plan, folder);
    QVERIFY(!outcome.ok());
    QCOMPARE(outcome.failures.size(), 1);
    QVERIFY(outcome.failures.first().file.endsWith(DiaryFileName));
    QCOMPARE(ReadBytes(folder + DiaryFileName), TestData(u"diary/sorted_five.qmt"_s));
    QCOMPARE(outcome.written, QStringList{TasksFileName});
    QVERIFY(ReadBytes(folder + TasksFileName).endsWith(JoinRecordLines({newTask})));
    const QString text = ImportOutcomeText(outcome);
    QVERIFY2(text.contains(u"1 Task"_s) && text.contains(u"Diary.Qmt Could Not Be Written"_s),
             qPrintable(text));
}

void TestImport::filesThatCannotBeImported_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("error");
    QTest::newRow("unknown kind") << u"notes.txt"_s << qint64(10) << ImportText::UnknownKind;
    QTest::newRow("missing") << u"gone.ics"_s << qint64(-1) << ImportText::Missing;
    // A hundred megabytes on one line is refused before it is read.
    QTest::newRow("too large") << u"huge.ics"_s << qint64(100) * 1024 * 1024
                               << ImportText::TooLarge;
    QTest::newRow("empty calendar")
        << u"empty.ics"_s << qint64(0) << u"The File Holds No Calendar"_s;
    QTest::newRow("no cards") << u"garbage.vcf"_s << qint64(4096)
                              << u"The File Holds No Contacts"_s;
}

// Each is named in the summary with its reason, and nothing is taken from it.
void TestImport::filesThatCannotBeImported() {
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (size >= 0) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size)); // sparse: zero bytes, written in no time
    }
    ImportSource source = ReadImportSource(path);
    ConvertImportSource(source, DefaultImportWindow(QDate(2026, 1, 1)), QTimeZone::utc());
    const ImportPlan plan = PlanImport({source}, dir.path() + u'/', {});
    QCOMPARE(plan.toAdd(), 0);
    QCOMPARE(plan.errors, QStringList{QDir::toNativeSeparators(path) + u": "_s + error});
}

void TestImport::commandLineArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("error");
    using A = ExchangeCommand::Action;
    QTest::newRow("no command starts the window")
        << QStringList{u"-platform"_s, u"offscreen"_s} << int(A::None) << QString();
    QTest::newRow("import several")
        << QStringList{u"--import"_s, u"a.ics"_s, u"b.vcf"_s} << int(A::Import) << QString();
    QTest::newRow("calendar range")
        << QStringList{u"--export-calendar"_s, u"x.ics"_s, u"--from"_s,
                       u"2024-01-01"_s,        u"--to"_s,  u"2024-12-31"_s}
        << int(A::ExportCalendar) << QString();
    QTest::newRow("half a range") << QStringList{u"--export-calendar"_s, u"x.ics"_s, u"--from"_s,
                                                 u"2024-01-01"_s}
                                  << int(A::ExportCalendar) << u"Give Both"_s;
    QTest::newRow("bad date") << QStringList{u"--import"_s, u"a.ics"_s, u"--from"_s,
                                             u"01/02/2024"_s}
                              << int(A::Import) << u"Needs A Date"_s;
    QTest::newRow("two actions") << QStringList{u"--import"_s, u"a.ics"_s, u"--export-contacts"_s,
                                                u"b.vcf"_s}
                                 << int(A::ExportContacts) << u"Give One Of"_s;
    QTest::newRow("no file") << QStringList{u"--export-contacts"_s} << int(A::ExportContacts)
                             << u"No File Given"_s;
    QTest::newRow("unknown option") << QStringList{u"--import"_s, u"a.ics"_s, u"--force"_s}
                                    << int(A::Import) << u"Unknown Option --force"_s;
}

void TestImport::commandLineArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, error);
    const ExchangeCommand command = ParseExchangeCommand(arguments);
    QCOMPARE(int(command.action), action);
    if (error.isEmpty())
        QVERIFY2(command.error.isEmpty(), qPrintable(command.error));
    else
        QVERIFY2(command.error.contains(error), qPrintable(command.error));
}

// The program itself, as a script runs it: everything exported from one data
// folder and imported into an empty one gives the same record files; an
// import over a folder the organiser has open changes nothing.
void TestImport::commandLineRoundTripAndRunningOrganiser() {
    QTemporaryDir from, to;
    const auto place = [](const QTemporaryDir &dir) {
        const QString exe = dir.filePath(u"quillmate"_s);
        if (!QFile::copy(QString::fromUtf8(QM_APP_EXE), exe))
            qFatal("cannot copy the program");
        return exe;
    };
    const QString source = from.path() + u'/';
    fillFolder(source);
    const auto run = [](const QString &exe, const QStringList &arguments, QString *output) {
        QProcess program;
        program.setWorkingDirectory(QDir::tempPath());
        program.start(exe, arguments);
        if (!program.waitForFinished(60000))
            return -1;
        if (output)
            *output = QString::fromLocal8Bit(program.readAllStandardOutput() +
                                             program.readAllStandardError());
        return program.exitCode();
    };
    const QString ics = from.filePath(u"all.ics"_s);
    const QString vcf = from.filePath(u"all.vcf"_s);
    QString said;
    QCOMPARE(run(place(from), {u"--export-calendar"_s, ics}, &said), 0);
    QVERIFY2(said.contains(u"Exported 5 Appointments, 5 Tasks, 3 Occasions"_s) &&
                 said.contains(u"2  Tasks That Could Not Be Read"_s),
             qPrintable(said));
    QCOMPARE(run(from.filePath(u"quillmate"_s), {u"--export-contacts"_s, vcf}, &said), 0);
    QVERIFY2(said.contains(u"Exported 2 Contacts"_s), qPrintable(said));

    const QString target = to.path() + u'/';
    const QString exe = place(to);
    {
        // The organiser over the folder holds its lock.
        std::unique_ptr<QLockFile> lock;
        QVERIFY(SingleInstance::lockDataFolder(u"Quillmate"_s, target, lock));
        QCOMPARE(run(exe, {u"--import"_s, ics, vcf}, &said), int(ExitOrganiserRunning));
        QVERIFY2(said.contains(u"Nothing Was Changed"_s), qPrintable(said));
        QVERIFY(!QFile::exists(target + DiaryFileName));
    }
    const QString window = u"1900-01-01"_s;
    QCOMPARE(run(exe, {u"--import"_s, ics, vcf, u"--from"_s, window}, &said), 0);
    QVERIFY2(said.contains(u"Imported :"_s), qPrintable(said));
    for (const QString &file : {DiaryFileName, BirthdayFileName})
        QCOMPARE(ReadBytes(target + file), ReadBytes(source + file));
    // Task lines too odd to read were not exported (the export said so).
    QStringList tasks = recordLines(source + TasksFileName);
    tasks.removeIf([](const QString &line) { return line.size() < 14 || line.at(9) == u'X'; });
    QCOMPARE(ReadBytes(target + TasksFileName), JoinRecordLines(tasks));
    // The same contacts, under keys issued afresh.
    const auto withoutKeys = [](QList<AddressRecord> records) {
        for (AddressRecord &record : records)
            AddressField(record, 1).clear();
        return records;
    };
    QCOMPARE(withoutKeys(ReadWholeAddressRecords(target + AddressFileName)),
             withoutKeys(ReadWholeAddressRecords(source + AddressFileName)));
    // Again: nothing new.
    QCOMPARE(run(exe, {u"--import"_s, ics, vcf, u"--from"_s, window}, &said), 0);
    QVERIFY2(said.contains(ImportText::NoRecords), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
