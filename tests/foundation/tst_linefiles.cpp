#include "foundation/BusyScope.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "support/TestServices.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>

using namespace Qt::StringLiterals;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

// Counts the busy-cursor handlers for the lifetime of the object.
struct CursorCounter {
    CursorCounter() {
        qm::BusyScope::setHandlers([this] { ++shown; }, [this] { ++restored; });
    }
    ~CursorCounter() { qm::BusyScope::setHandlers({}, {}); }
    int shown = 0;
    int restored = 0;
};

// One of the three savers, chosen by name in a data row.
void save(const QString &saver, const QStringList &lines, bool dropCompleted = false) {
    if (saver == u"Diary.Qmt")
        qm::SaveDiaryFile(lines);
    else if (saver == u"Tasks.Qmt")
        qm::SaveTasksFile(lines, dropCompleted);
    else
        qm::SaveBirthdayFile(lines);
}

QStringList load(const QString &saver) {
    if (saver == u"Diary.Qmt")
        return qm::LoadDiaryFile();
    if (saver == u"Tasks.Qmt")
        return qm::LoadTasksFile();
    return qm::LoadBirthdayFile();
}

void addSaverRows() {
    QTest::addColumn<QString>("file");
    for (const QString &name : {qm::DiaryFileName, qm::TasksFileName, qm::BirthdayFileName})
        QTest::newRow(qPrintable(name)) << name;
}

QStringList manyLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(
            u"20240315\u00ff09:00\u00ff10:00\u00ffLine %1 Of A Long Diary\u00ff015\u00ffN"_s.arg(
                i));
    return lines;
}

QStringList filesIn(const qm::test::TestServices &fixture) {
    return QDir(fixture.dir.path()).entryList(QDir::Files | QDir::Hidden);
}

} // namespace

// The three line-per-record files: rewritten whole from a list, atomically,
// under the busy cursor, and never leaving a damaged file behind.
class TestLineFiles : public QObject {
    Q_OBJECT
private slots:
    void writesWindows1252ByteForByte();
    void saveAndLoadEachFile_data();
    void saveAndLoadEachFile();
    void emptyListDeletesFile_data();
    void emptyListDeletesFile();
    void dropCompletedTasks_data();
    void dropCompletedTasks();
    void purgeReadsEveryLineEnd_data();
    void purgeReadsEveryLineEnd();
    void failedWriteKeepsOldFile_data();
    void failedWriteKeepsOldFile();
    void unwritableFolder_data();
    void unwritableFolder();
    void nestedBusyScopesShowCursorOnce();
};

void TestLineFiles::writesWindows1252ByteForByte() {
    qm::test::TestServices fixture;
    const QStringList lines = {
        u"20240315\u00ff09:00\u00ff10:00\u00ffCaf\u00e9 With Zo\u00eb\u00ff015\u00ffN"_s,
        u"20240316\u00ff14:30\u00ff15:00\u00ffDentist \u20ac 20\u00ff000\u00ffY"_s};
    qm::SaveDiaryFile(lines);
    QCOMPARE(ReadBytes(fixture.path(u"Diary.Qmt"_s)), TestData(u"linefiles/diary_two_lines.qmt"_s));
    QCOMPARE(qm::LoadDiaryFile(), lines);
}

void TestLineFiles::saveAndLoadEachFile_data() {
    addSaverRows();
}

// Each saver writes its own file, replacing the old content whole.
void TestLineFiles::saveAndLoadEachFile() {
    QFETCH(QString, file);
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(file), "an older, longer content\r\nwith two lines\r\n"_ba);
    CursorCounter cursor;
    save(file, {u"b"_s, u"a"_s});
    QCOMPARE(ReadBytes(fixture.path(file)), "b\r\na\r\n"_ba);
    QCOMPARE(load(file), (QStringList{u"b"_s, u"a"_s}));
    QCOMPARE(filesIn(fixture), QStringList{file});
    QCOMPARE(cursor.shown, 1);
    QCOMPARE(cursor.restored, 1);
}

void TestLineFiles::emptyListDeletesFile_data() {
    addSaverRows();
}

void TestLineFiles::emptyListDeletesFile() {
    QFETCH(QString, file);
    qm::test::TestServices fixture;
    WriteBytes(fixture.path(file), "the only record\r\n"_ba);
    save(file, {});
    QVERIFY(!QFile::exists(fixture.path(file)));
    // Nothing is created again, and a missing file reads as an empty list.
    save(file, {});
    QVERIFY(filesIn(fixture).isEmpty());
    QCOMPARE(load(file), QStringList());
}

void TestLineFiles::dropCompletedTasks_data() {
    QTest::addColumn<QStringList>("tasks");
    QTest::addColumn<bool>("dropCompleted");
    QTest::addColumn<QByteArray>("expected");
    const QString open = u"20240301\u00ffN\u00ff1\u00ffPay The Gas Bill"_s;
    const QString done = u"20240302\u00ffY\u00ffN\u00ffBook The Holiday"_s;
    const QString doneToo = u"        \u00ffY\u00ffY\u00ffReturn Library Books"_s;
    QTest::newRow("completed left out, short line kept")
        << QStringList{done, open, doneToo, u"Short"_s} << true
        << TestData(u"linefiles/tasks_open_only.qmt"_s);
    QTest::newRow("kept when not dropping") << QStringList{done, u"Short"_s} << false
                                            << "20240302\xff"
                                               "Y\xff"
                                               "N\xff"
                                               "Book The Holiday\r\nShort\r\n"_ba;
    // Only a task line marked completed goes, never a line that merely has
    // a "Y" in that place; a task line whose priority is not "Y" or "N" (a
    // hand edit) is still a task.
    QTest::newRow("priority neither Y nor N")
        << QStringList{u"20240302\u00ffY\u00ff2\u00ffBook"_s, u"Short"_s} << true
        << "Short\r\n"_ba;
    QTest::newRow("no separator after the priority")
        << QStringList{u"20240302\u00ffY\u00ffN Book"_s} << true
        << "20240302\xffY\xffN Book\r\n"_ba;
    QTest::newRow("twelve characters")
        << QStringList{u"20240302\u00ffY\u00ffN"_s} << true << "20240302\xffY\xffN\r\n"_ba;
    QTest::newRow("all completed leaves an empty file")
        << QStringList{done, doneToo} << true << QByteArray();
    QTest::newRow("lowercase y is not completed")
        << QStringList{u"20240301\u00ffy"_s} << true << "20240301\xffy\r\n"_ba;
    QTest::newRow("nine characters") << QStringList{u"123456789"_s} << true << "123456789\r\n"_ba;
}

void TestLineFiles::dropCompletedTasks() {
    QFETCH(QStringList, tasks);
    QFETCH(bool, dropCompleted);
    QFETCH(QByteArray, expected);
    qm::test::TestServices fixture;
    const QStringList before = tasks;
    qm::SaveTasksFile(tasks, dropCompleted);
    QVERIFY(QFile::exists(fixture.path(u"Tasks.Qmt"_s)));
    QCOMPARE(ReadBytes(fixture.path(u"Tasks.Qmt"_s)), expected);
    QCOMPARE(tasks, before);
}

// The close-down purge of a file written elsewhere: whatever ends its lines,
// the completed tasks go and every other one stays (a file of lines ended by
// CR alone once read as one line, and went whole when it began with a
// completed task).
void TestLineFiles::purgeReadsEveryLineEnd_data() {
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("cr") << "\r"_ba;
    QTest::newRow("lf") << "\n"_ba;
    QTest::newRow("cr lf") << "\r\n"_ba;
}

void TestLineFiles::purgeReadsEveryLineEnd() {
    QFETCH(QByteArray, lineEnd);
    qm::test::TestServices fixture;
    QByteArray file;
    QByteArray open;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray line = "20240301\xff" + QByteArray(i % 3 ? "N" : "Y") + "\xffN\xffTask " +
                                QByteArray::number(i);
        file += line + lineEnd;
        if (i % 3)
            open += line + "\r\n";
    }
    WriteBytes(fixture.path(u"Tasks.Qmt"_s), file);
    qm::SaveTasksFile(qm::LoadTasksFile(), true);
    QCOMPARE(ReadBytes(fixture.path(u"Tasks.Qmt"_s)), open);
}

void TestLineFiles::failedWriteKeepsOldFile_data() {
    QTest::addColumn<qint64>("failAt");
    QTest::newRow("at the start") << qint64(0);
    QTest::newRow("halfway") << qint64(64 * 1024);
    QTest::newRow("near the end") << qint64(192 * 1024);
}

// A disk that refuses the data part way: the error is raised, the old file is
// whole, no work file is left, the list is as it was and the cursor is back.
void TestLineFiles::failedWriteKeepsOldFile() {
    QFETCH(qint64, failAt);
    qm::test::TestServices fixture;
    const QString path = fixture.path(u"Diary.Qmt"_s);
    const QByteArray old = TestData(u"linefiles/diary_two_lines.qmt"_s);
    WriteBytes(path, old);
    const QStringList lines = manyLines(5000); // about 250 KB
    const QStringList before = lines;
    CursorCounter cursor;
    qint64 reached = -1;
    qm::SetWriteFaultHookForTesting([&](qint64 written) {
        reached = written;
        return written < failAt;
    });
    auto resetHook = qScopeGuard([] { qm::SetWriteFaultHookForTesting({}); });
    QVERIFY_THROWS_EXCEPTION(qm::FileError, qm::SaveDiaryFile(lines));
    QCOMPARE(reached, failAt);
    QCOMPARE(ReadBytes(path), old);
    QCOMPARE(filesIn(fixture), QStringList{u"Diary.Qmt"_s});
    QCOMPARE(lines, before);
    QCOMPARE(cursor.shown, 1);
    QCOMPARE(cursor.restored, 1);
    QCOMPARE(qm::BusyScope::depth(), 0);

    // Text that cannot be stored fails before anything is written.
    qm::SetWriteFaultHookForTesting({});
    QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::SaveDiaryFile({u"\u0100"_s}));
    QCOMPARE(ReadBytes(path), old);
    QCOMPARE(cursor.restored, 2);
}

void TestLineFiles::unwritableFolder_data() {
    QTest::addColumn<bool>("byPermissions");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("read-only folder, new content") << true << QStringList{u"new"_s};
    QTest::newRow("read-only folder, empty list") << true << QStringList();
    QTest::newRow("folder path under a file, new content") << false << QStringList{u"new"_s};
}

void TestLineFiles::unwritableFolder() {
    QFETCH(bool, byPermissions);
    QFETCH(QStringList, lines);
    qm::test::TestServices fixture;
    QString folder = fixture.dir.path();
    QByteArray old = "old\r\n"_ba;
    auto restore = qScopeGuard([&] {
        QFile::setPermissions(fixture.dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner);
    });
    if (byPermissions) {
        WriteBytes(fixture.path(u"Tasks.Qmt"_s), old);
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        if (QFile probe(folder + u"/probe"_s); probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("running with privileges that ignore permission bits; the rows under a file "
                  "cover an unwritable folder");
        }
    } else {
        // A folder cannot exist below a regular file, whoever runs the test.
        WriteBytes(fixture.path(u"plain-file"_s), "x"_ba);
        folder = fixture.path(u"plain-file"_s);
        old.clear();
    }
    qm::Services unwritable = qm::services();
    unwritable.dataFolder = folder + u"/"_s;
    qm::ServicesScope scope(unwritable);
    CursorCounter cursor;
    QVERIFY_THROWS_EXCEPTION(qm::FileError, qm::SaveTasksFile(lines, false));
    QCOMPARE(cursor.restored, 1);
    QCOMPARE(ReadBytes(qm::dataFile(u"Tasks.Qmt"_s)), old);
}

void TestLineFiles::nestedBusyScopesShowCursorOnce() {
    CursorCounter cursor;
    {
        qm::BusyScope outer;
        {
            qm::BusyScope inner;
            QCOMPARE(qm::BusyScope::depth(), 2);
        }
        QCOMPARE(cursor.restored, 0);
    }
    QCOMPARE(cursor.shown, 1);
    QCOMPARE(cursor.restored, 1);
}

QTEST_GUILESS_MAIN(TestLineFiles)
#include "tst_linefiles.moc"
