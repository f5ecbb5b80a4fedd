#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"
#include "tasks/Occasions.h"
#include "tasks/Tasks.h"

#include <QtTest>

using namespace Qt::StringLiterals;
using namespace qm;
using test::ReadBytes;
using test::TestData;
using test::WriteBytes;

namespace {

const QChar Sep(0x00FF);
const QDate Today(2024, 3, 15);

// The lines of a file in tests/data.
QStringList dataLines(const QString &name) {
    return LoadLineFile(QStringLiteral(QM_TEST_DATA_DIR "/") + name);
}

QString task(const QString &date, const QString &completed, const QString &priority,
             const QString &description) {
    return date + Sep + completed + Sep + priority + Sep + description;
}

} // namespace

class TestTaskLogic : public QObject {
    Q_OBJECT
private slots:
    void taskLinesWrittenByteForByte();
    void taskView_data();
    void taskView();
    void taskLook_data();
    void taskLook();
    void taskSaveReasons_data();
    void taskSaveReasons();
    void deleteInTheMiddleThenEdit();
    void addingNeverRemovesAnotherRecord();
    void failedWriteChangesNothing();
    void lastRecordDeleted();
    void purgeKeepsOpenTasks();

    void occasionLinesSortedAndWritten();
    void occasionRowsForTwoDays();
    void headingOrdinals_data();
    void headingOrdinals();
    void selectNextOccasion_data();
    void selectNextOccasion();
    void occasionDateRule_data();
    void occasionDateRule();
    void occasionSaveReasons_data();
    void occasionSaveReasons();
};

void TestTaskLogic::taskLinesWrittenByteForByte() {
    test::TestServices services;
    TaskStore store;
    // No date is 8 spaces; the description is the last field, so a 0xFF in
    // it is kept.
    store.add(TaskLine({QString(), false, false, u"Water plants"_s}));
    store.add(TaskLine({u"15/03/2024"_s, true, true, u"Caf\u00e9 \u00ff day"_s}));
    QCOMPARE(ReadBytes(services.path(TasksFileName)), TestData(u"tasks/written.qmt"_s));

    TaskStore reread;
    reread.loadFile();
    const TaskEntries second = ReadTaskLine(reread.at(1));
    QCOMPARE(second.date, u"15/03/2024"_s);
    QVERIFY(second.completed && second.highPriority);
    QCOMPARE(second.description, u"Caf\u00e9 \u00ff day"_s);
    QCOMPARE(ReadTaskLine(reread.at(0)).date, QString());
}

void TestTaskLogic::taskView_data() {
    QTest::addColumn<bool>("showCompleted");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("rowMap");
    QTest::addColumn<QStringList>("overdue");
    QTest::addColumn<QStringList>("priority");
    QTest::addColumn<QStringList>("completed");
    // Today is 15 March 2024: due yesterday is overdue, due today is not, no
    // date never is; odd and short lines are never listed.
    QTest::newRow("with completed")
        << true
        << QStringList{u"Pay the gas bill"_s, u"Book dentist"_s, u"Water plants"_s,
                       u"File tax return"_s, u"Caf\u00e9 \u00ff day"_s}
        << QStringList{u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"6"_s}
        << QStringList{u"Y"_s, {}, {}, u"Y"_s, {}} << QStringList{{}, u"Y"_s, {}, u"Y"_s, {}}
        << QStringList{{}, {}, {}, u"Y"_s, {}};
    QTest::newRow("open only") << false
                               << QStringList{u"Pay the gas bill"_s, u"Book dentist"_s,
                                              u"Water plants"_s, u"Caf\u00e9 \u00ff day"_s}
                               << QStringList{u"0"_s, u"1"_s, u"2"_s, u"6"_s}
                               << QStringList{u"Y"_s, {}, {}, {}} << QStringList{{}, u"Y"_s, {}, {}}
                               << QStringList{{}, {}, {}, {}};
}

void TestTaskLogic::taskView() {
    QFETCH(bool, showCompleted);
    test::TestServices services;
    WriteBytes(services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    TaskStore store;
    store.loadFile();
    QCOMPARE(store.size(), 7);
    const ListRows rows = LoadTaskView(store.lines(), showCompleted, Today);
    QTEST(rows.texts, "texts");
    QTEST(rows.rowMap, "rowMap");
    QTEST(rows.overdueFlags, "overdue");
    QTEST(rows.priorityFlags, "priority");
    QTEST(rows.completedFlags, "completed");
    QVERIFY(rows.rowKeys.isEmpty());
}

void TestTaskLogic::taskLook_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("mark");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("strikeOut");
    const int none = int(RowLook::Mark::None);
    const int alert = int(RowLook::Mark::Alert);
    const int emphasis = int(RowLook::Mark::Emphasis);
    QTest::newRow("overdue open") << task(u"20240314"_s, u"N"_s, u"N"_s, u"a"_s) << alert << true
                                  << false;
    QTest::newRow("overdue open high priority")
        << task(u"20240314"_s, u"N"_s, u"Y"_s, u"a"_s) << alert << true << false;
    QTest::newRow("due today") << task(u"20240315"_s, u"N"_s, u"N"_s, u"a"_s) << none << false
                               << false;
    QTest::newRow("high priority")
        << task(u"20240401"_s, u"N"_s, u"Y"_s, u"a"_s) << emphasis << true << false;
    QTest::newRow("overdue completed")
        << task(u"20240314"_s, u"Y"_s, u"N"_s, u"a"_s) << none << false << true;
    QTest::newRow("completed high priority")
        << task(u"        "_s, u"Y"_s, u"Y"_s, u"a"_s) << emphasis << true << true;
}

void TestTaskLogic::taskLook() {
    QFETCH(QString, line);
    const ListRows rows = LoadTaskView({line}, true, Today);
    const RowLook look = TaskRowLook(rows, 0);
    QTEST(int(look.mark), "mark");
    QTEST(look.bold, "bold");
    QTEST(look.strikeOut, "strikeOut");
}

void TestTaskLogic::taskSaveReasons_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("dateValid");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("blank and bad date")
        << u"   "_s << false
        << u"Description Must Be Entered\rCompletion Date Is Not A Valid Date\r"_s;
    QTest::newRow("line break") << u"two\nlines"_s << true
                                << u"Description Cannot Contain A Line Break\r"_s;
    QTest::newRow("outside the code page")
        << u"snow \u2603"_s << true << u"Description Contains Characters That Cannot Be Saved\r"_s;
    QTest::newRow("separator kept") << u"y\u00ff"_s << true << QString();
}

void TestTaskLogic::taskSaveReasons() {
    QFETCH(QString, description);
    QFETCH(bool, dateValid);
    QTEST(TaskSaveReasons({QString(), false, false, description}, dateValid), "reasons");
}

void TestTaskLogic::deleteInTheMiddleThenEdit() {
    test::TestServices services;
    WriteBytes(services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    TaskStore store;
    store.loadFile();
    ListRows rows = LoadTaskView(store.lines(), false, Today);
    store.remove(rows.rowMap.at(1).toInt());
    store.loadFile();
    rows = LoadTaskView(store.lines(), false, Today);
    // The row that moved into the deleted one's place finds its own line.
    QCOMPARE(rows.texts.at(1), u"Water plants"_s);
    QCOMPARE(ReadTaskLine(store.at(rows.rowMap.at(1).toInt())).description, u"Water plants"_s);
    QCOMPARE(ReadTaskLine(store.at(rows.rowMap.last().toInt())).description,
             u"Caf\u00e9 \u00ff day"_s);
    // Hidden and odd lines stay in the file.
    QCOMPARE(store.size(), 6);
}

void TestTaskLogic::addingNeverRemovesAnotherRecord() {
    test::TestServices services;
    QStringList tasks, occasions;
    for (int i = 0; i < 500; ++i) {
        tasks << task(u"        "_s, u"N"_s, u"N"_s, u"Task "_s + QString::number(i));
        occasions << OccasionLine(1, 1, u"Occasion "_s + QString::number(1000 + i));
    }
    SaveTasksFile(tasks, false);
    SaveBirthdayFile(occasions);
    TaskStore taskStore;
    taskStore.loadFile();
    OccasionStore occasionStore;
    occasionStore.loadFile();

    taskStore.add(task(u"        "_s, u"N"_s, u"N"_s, u"New"_s));
    occasionStore.add(OccasionLine(31, 12, u"New"_s));
    QCOMPARE(LoadTasksFile().size(), 501);
    QCOMPARE(LoadTasksFile().first(), tasks.first());
    QCOMPARE(LoadBirthdayFile().size(), 501);
    QCOMPARE(LoadBirthdayFile().first(), occasions.first());
}

void TestTaskLogic::failedWriteChangesNothing() {
    test::TestServices services;
    WriteBytes(services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    WriteBytes(services.path(BirthdayFileName), TestData(u"tasks/birthann.qmt"_s));
    TaskStore tasks;
    tasks.loadFile();
    OccasionStore occasions;
    occasions.loadFile();
    const QStringList taskLines = tasks.lines();
    const QStringList occasionLines = occasions.lines();

    SetWriteFaultHookForTesting([](qint64) { return false; });
    auto reset = qScopeGuard([] { SetWriteFaultHookForTesting({}); });
    QVERIFY_THROWS_EXCEPTION(FileError, tasks.add(u"x"_s));
    QVERIFY_THROWS_EXCEPTION(FileError, tasks.replace(0, u"x"_s));
    QVERIFY_THROWS_EXCEPTION(FileError, occasions.add(u"0101\u00ffx"_s));
    QVERIFY_THROWS_EXCEPTION(FileError, occasions.remove(0));
    QCOMPARE(tasks.lines(), taskLines);
    QCOMPARE(occasions.lines(), occasionLines);
    QCOMPARE(ReadBytes(services.path(TasksFileName)), TestData(u"tasks/mixed.qmt"_s));
    QCOMPARE(ReadBytes(services.path(BirthdayFileName)), TestData(u"tasks/birthann.qmt"_s));
}

void TestTaskLogic::lastRecordDeleted() {
    test::TestServices services;
    TaskStore tasks;
    tasks.add(task(u"        "_s, u"Y"_s, u"N"_s, u"Only"_s));
    OccasionStore occasions;
    occasions.add(OccasionLine(6, 5, u"Only"_s));
    tasks.remove(0);
    occasions.remove(0);
    QVERIFY(!QFile::exists(services.path(TasksFileName)));
    QVERIFY(!QFile::exists(services.path(BirthdayFileName)));
}

void TestTaskLogic::purgeKeepsOpenTasks() {
    test::TestServices services;
    WriteBytes(services.path(TasksFileName), TestData(u"tasks/mixed.qmt"_s));
    PurgeCompletedTasks();
    QStringList expected = dataLines(u"tasks/mixed.qmt"_s);
    expected.removeAt(3); // the one completed task
    QCOMPARE(LoadTasksFile(), expected);
}

void TestTaskLogic::occasionLinesSortedAndWritten() {
    test::TestServices services;
    OccasionStore store;
    store.add(OccasionLineFromEntries(u"01/06"_s, u"Birthday For Bob Jones"_s));
    store.add(OccasionLineFromEntries(u"06/05"_s, u"Birthday For Ann Smith"_s));
    // Letters compare without regard to case: "anniversary" before "Birthday".
    store.add(OccasionLineFromEntries(u"06/05"_s, u"anniversary dinner"_s));
    QCOMPARE(ReadBytes(services.path(BirthdayFileName)), TestData(u"tasks/birthann.qmt"_s));
    QCOMPARE(OccasionDateEntry(store.at(1)), u"06/05"_s);
    QCOMPARE(OccasionDescription(store.at(1)), u"Birthday For Ann Smith"_s);
}

void TestTaskLogic::occasionRowsForTwoDays() {
    test::TestServices services;
    WriteBytes(services.path(BirthdayFileName), TestData(u"tasks/birthann.qmt"_s));
    OccasionStore store;
    store.loadFile();
    const ListRows rows = LoadBirthdayView(store.lines());
    QCOMPARE(rows.texts,
             (QStringList{u"6th May"_s, u"    anniversary dinner"_s,
                          u"    Birthday For Ann Smith"_s, QString(125, u'-'), u"1st June"_s,
                          u"    Birthday For Bob Jones"_s, QString(115, u'-')}));
    QCOMPARE(rows.rowMap, (QStringList{u"H"_s, u"0"_s, u"1"_s, u"L"_s, u"H"_s, u"2"_s, u"L"_s}));
    QCOMPARE(rows.rowKeys, (QStringList{{}, u"0506"_s, u"0506"_s, {}, {}, u"0601"_s, {}}));
    QVERIFY(OccasionRowLook(rows, 0).bold);
    QVERIFY(!OccasionRowLook(rows, 1).bold);
    QCOMPARE(OccasionDeleteQuestion(rows.texts.at(2)),
             u"Are You Sure You Want To Delete 'Birthday For Ann Smith'?"_s);
    QCOMPARE(LoadBirthdayView({}).size(), 0);
}

void TestTaskLogic::headingOrdinals_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("heading");
    const std::pair<int, const char16_t *> days[] = {
        {1, u"st"},  {2, u"nd"},  {3, u"rd"},  {4, u"th"},  {11, u"th"}, {12, u"th"},
        {13, u"th"}, {21, u"st"}, {22, u"nd"}, {23, u"rd"}, {31, u"st"}};
    for (const auto &[day, suffix] : days)
        QTest::addRow("%d", day) << u"01"_s + (day < 10 ? u"0"_s : QString()) + QString::number(day)
                                 << QString::number(day) + QString::fromUtf16(suffix) +
                                        u" January"_s;
    QTest::newRow("29 February") << u"0229"_s << u"29th February"_s;
    QTest::newRow("no day of the year") << u"1340"_s << u"1340"_s;
}

void TestTaskLogic::headingOrdinals() {
    QFETCH(QString, key);
    QTEST(OccasionHeading(key), "heading");
}

void TestTaskLogic::selectNextOccasion_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<int>("row");
    QTest::newRow("7 May") << QDate(2024, 5, 7) << 5;
    QTest::newRow("on the day") << QDate(2023, 5, 6) << 1;
    QTest::newRow("1 January") << QDate(2024, 1, 1) << 1;
    QTest::newRow("1 December") << QDate(2024, 12, 1) << 0;
}

void TestTaskLogic::selectNextOccasion() {
    QFETCH(QDate, today);
    QTEST(SelectNextOccasion(LoadBirthdayView(dataLines(u"tasks/birthann.qmt"_s)), today), "row");
    QCOMPARE(SelectNextOccasion(ListRows(), today), -1);
}

void TestTaskLogic::occasionDateRule_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("normal"); // "-" for refused
    QTest::newRow("leap day") << u"29/02"_s << u"29/02"_s;
    QTest::newRow("short") << u"6 /5 "_s << u"06/05"_s;
    QTest::newRow("31 April") << u"31/04"_s << u"-"_s;
    QTest::newRow("blank") << u"  /  "_s << u"-"_s;
    QTest::newRow("month 13") << u"01/13"_s << u"-"_s;
}

void TestTaskLogic::occasionDateRule() {
    QFETCH(QString, entry);
    QFETCH(QString, normal);
    QCOMPARE(OccasionDateExit(entry).value_or(u"-"_s), normal);
}

void TestTaskLogic::occasionSaveReasons_data() {
    QTest::addColumn<bool>("dateValid");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("reasons");
    QTest::newRow("both") << false << QString()
                          << u"Date Is Not Valid (Must Be In The Format 'DD/MM')\r"
                             u"Description Must Be Specified\r"_s;
    QTest::newRow("line break") << true << u"a\r\nb"_s
                                << u"Description Cannot Contain A Line Break\r"_s;
    QTest::newRow("separator kept") << true << u"\u00ff"_s << QString();
}

void TestTaskLogic::occasionSaveReasons() {
    QFETCH(bool, dateValid);
    QFETCH(QString, description);
    QTEST(OccasionSaveReasons(dateValid, description), "reasons");
}

QTEST_GUILESS_MAIN(TestTaskLogic)
#include "tst_tasklogic.moc"
