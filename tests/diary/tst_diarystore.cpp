#include "diary/Appointment.h"
#include "diary/AppointmentStore.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
#include "foundation/SortedLines.h"
#include "support/TestServices.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::Appointment;
using qm::AppointmentStore;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

const QChar Sep = QChar(0x00FF);

QString line(std::initializer_list<QString> fields) {
    QStringList parts(fields);
    return parts.join(Sep);
}

// The five lines of tests/data/diary/sorted_five.qmt, in file order.
QStringList sortedFive() {
    return {line({u"20240314"_s, u"18:00"_s, u"19:00"_s, u"Caf\u00e9 with Anna"_s, u"0"_s, u"N"_s}),
            line({u"20240315"_s, u"09:30"_s, u"10:00"_s, u"zebra walk"_s, u"0"_s, u"N"_s}),
            line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"apples"_s, u"15"_s, u"N"_s}),
            line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Bananas"_s, u"0"_s, u"Y"_s}),
            line({u"20241201"_s, u"08:00"_s, u"08:30"_s, u"\u20ac rent due"_s, u"60"_s, u"N"_s})};
}

} // namespace

class TestDiaryStore : public QObject {
    Q_OBJECT
private slots:
    void readsFields_data();
    void readsFields();
    void writesLine();
    void addsInSortedOrderByteExact_data();
    void addsInSortedOrderByteExact();
    void equalLinesStandSideBySide();
    void editMovesLine();
    void loadsAnyOrderAndAnySize();
    void oddLinesSurvive();
    void lastDeletionRemovesFile();
    void failedWriteChangesNothing();
};

void TestDiaryStore::readsFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("reminder");
    QTest::addColumn<bool>("tentative");

    QTest::newRow("firm with reminder")
        << line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Dentist"_s, u"15"_s, u"N"_s})
        << u"20240315"_s << u"09:30"_s << u"10:15"_s << u"Dentist"_s << 15 << false;
    QTest::newRow("no reminder, tentative")
        << line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Meeting"_s, u"0"_s, u"Y"_s})
        << u"20240315"_s << u"09:30"_s << u"10:15"_s << u"Meeting"_s << 0 << true;
    QTest::newRow("75 characters")
        << line({u"20240315"_s, u"00:00"_s, u"23:59"_s, QString(75, u'x'), u"60"_s, u"N"_s})
        << u"20240315"_s << u"00:00"_s << u"23:59"_s << QString(75, u'x') << 60 << false;
    // Lines that did not come from the editor give what they hold, never an error.
    QTest::newRow("empty") << QString() << QString() << QString() << QString() << QString() << 0
                           << false;
    QTest::newRow("date only") << u"2024"_s << u"2024"_s << QString() << QString() << QString() << 0
                               << false;
    QTest::newRow("no separators") << u"garbage line without separators"_s << u"garbage "_s
                                   << u"ine w"_s << u"thout"_s << QString() << 0 << false;
    QTest::newRow("three separators")
        << line({u"20240315"_s, u"09:00"_s, u"10:00"_s, u"No reminder field"_s}) << u"20240315"_s
        << u"09:00"_s << u"10:00"_s << QString() << 0 << false;
    QTest::newRow("reminder not a number")
        << line({u"20240315"_s, u"09:00"_s, u"10:00"_s, u"Odd"_s, u"x5"_s, u"Y"_s}) << u"20240315"_s
        << u"09:00"_s << u"10:00"_s << u"Odd"_s << 0 << true;
    QTest::newRow("separators only") << QString(5, Sep) + u"Y"_s << QString(5, Sep) + u"Y"_s
                                     << QString() << QString() << QString() << 0 << true;
}

void TestDiaryStore::readsFields() {
    QFETCH(QString, text);
    const Appointment a = qm::ReadAppointment(text);
    QTEST(a.date, "date");
    QTEST(a.start, "start");
    QTEST(a.end, "end");
    QTEST(a.description, "description");
    QTEST(a.reminder, "reminder");
    QTEST(a.tentative, "tentative");
}

void TestDiaryStore::writesLine() {
    Appointment a{u"20240315"_s, u"09:30"_s, u"10:15"_s, u"Dentist"_s, 15, false};
    QCOMPARE(qm::AppointmentLine(a),
             u"20240315\u00ff09:30\u00ff10:15\u00ffDentist\u00ff15\u00ffN"_s);
    a.reminder = 0;
    a.tentative = true;
    // 24 characters plus the description plus the reminder's digits.
    QCOMPARE(qm::AppointmentLine(a).size(), 24 + 7 + 1);
    QVERIFY(qm::AppointmentLine(a).endsWith(u"\u00ff0\u00ffY"_s));
    for (const QString &text : sortedFive())
        QCOMPARE(qm::AppointmentLine(qm::ReadAppointment(text)), text);
}

void TestDiaryStore::addsInSortedOrderByteExact_data() {
    QTest::addColumn<QList<int>>("order");
    QTest::newRow("file order") << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("reversed") << QList<int>{4, 3, 2, 1, 0};
    // Bananas before apples: a case-sensitive order would keep it so.
    QTest::newRow("mixed") << QList<int>{3, 0, 4, 2, 1};
}

void TestDiaryStore::addsInSortedOrderByteExact() {
    QFETCH(QList<int>, order);
    qm::test::TestServices fixture;
    AppointmentStore store;
    const QStringList five = sortedFive();
    for (int i : order)
        store.add(five.at(i));
    QCOMPARE(store.lines(), five);
    QCOMPARE(ReadBytes(fixture.path(qm::DiaryFileName)), TestData(u"diary/sorted_five.qmt"_s));
    // The file read back gives the same store.
    AppointmentStore again;
    again.loadFile();
    QCOMPARE(again.lines(), five);
}

void TestDiaryStore::equalLinesStandSideBySide() {
    qm::test::TestServices fixture;
    AppointmentStore store;
    const QString lower =
        line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"dentist"_s, u"0"_s, u"N"_s});
    const QString upper =
        line({u"20240315"_s, u"09:30"_s, u"10:15"_s, u"DENTIST"_s, u"0"_s, u"N"_s});
    QCOMPARE(store.add(lower), 0);
    // Equal without regard to case: the newcomer goes behind.
    QCOMPARE(store.add(upper), 1);
    QCOMPARE(store.add(lower), 2);
    QCOMPARE(store.lines(), (QStringList{lower, upper, lower}));
}

void TestDiaryStore::editMovesLine() {
    qm::test::TestServices fixture;
    AppointmentStore store;
    store.load(sortedFive());
    // "apples" moves from 15 March to the next year: last place.
    const QString moved =
        line({u"20250101"_s, u"09:30"_s, u"10:15"_s, u"apples"_s, u"15"_s, u"N"_s});
    QCOMPARE(store.replace(2, moved), 4);
    QCOMPARE(store.size(), 5);
    QCOMPARE(store.at(4), moved);
    QCOMPARE(store.at(2), sortedFive().at(3));
    QCOMPARE(qm::LoadDiaryFile(), store.lines());
}

void TestDiaryStore::loadsAnyOrderAndAnySize() {
    qm::test::TestServices fixture;
    // Far more than 500 lines, out of order: all load, sorted.
    QStringList lines;
    for (int i = 700; i > 0; --i)
        lines << line({u"2024%1"_s.arg(1000 + i % 300, 4, 10, QChar(u'0')), u"09:00"_s, u"10:00"_s,
                       u"Item %1"_s.arg(i), u"0"_s, u"N"_s});
    qm::SaveDiaryFile(lines);
    AppointmentStore store;
    store.loadFile();
    QCOMPARE(store.size(), 700);
    for (qsizetype i = 1; i < store.size(); ++i)
        QVERIFY(qm::CompareLines(store.at(i - 1), store.at(i)) <= 0);
    // Adding keeps every line: nothing old is dropped to make room.
    const QString first = store.at(0);
    store.add(line({u"20000101"_s, u"09:00"_s, u"10:00"_s, u"Earliest"_s, u"0"_s, u"N"_s}));
    QCOMPARE(store.size(), 701);
    QCOMPARE(store.at(1), first);
    QCOMPARE(qm::LoadDiaryFile().size(), 701);
}

void TestDiaryStore::oddLinesSurvive() {
    qm::test::TestServices fixture;
    const QByteArray odd = TestData(u"diary/odd_lines.qmt"_s);
    WriteBytes(fixture.path(qm::DiaryFileName), odd);
    AppointmentStore store;
    store.loadFile();
    QCOMPARE(store.size(), 7);
    // A change elsewhere rewrites the file: every odd line comes back as it was.
    const qsizetype at =
        store.add(line({u"20240316"_s, u"09:00"_s, u"10:00"_s, u"Real"_s, u"0"_s, u"N"_s}));
    store.remove(at);
    QCOMPARE(ReadBytes(fixture.path(qm::DiaryFileName)), odd);
}

void TestDiaryStore::lastDeletionRemovesFile() {
    qm::test::TestServices fixture;
    AppointmentStore store;
    store.add(sortedFive().at(0));
    QVERIFY(QFile::exists(fixture.path(qm::DiaryFileName)));
    store.remove(0);
    QCOMPARE(store.size(), 0);
    QVERIFY(!QFile::exists(fixture.path(qm::DiaryFileName)));
    AppointmentStore next;
    next.loadFile();
    QCOMPARE(next.size(), 0);
}

void TestDiaryStore::failedWriteChangesNothing() {
    qm::test::TestServices fixture;
    AppointmentStore store;
    for (const QString &text : sortedFive())
        store.add(text);
    const QByteArray before = ReadBytes(fixture.path(qm::DiaryFileName));
    const QStringList lines = store.lines();

    qm::SetWriteFaultHookForTesting([](qint64) { return false; });
    auto reset = qScopeGuard([] { qm::SetWriteFaultHookForTesting({}); });
    const QString extra = line({u"20240401"_s, u"09:00"_s, u"10:00"_s, u"X"_s, u"0"_s, u"N"_s});
    QVERIFY_THROWS_EXCEPTION(qm::FileError, store.add(extra));
    QVERIFY_THROWS_EXCEPTION(qm::FileError, store.replace(0, extra));
    QVERIFY_THROWS_EXCEPTION(qm::FileError, store.remove(1));
    QCOMPARE(store.lines(), lines);
    QCOMPARE(ReadBytes(fixture.path(qm::DiaryFileName)), before);
}

QTEST_GUILESS_MAIN(TestDiaryStore)
#include "tst_diarystore.moc"
