#include "foundation/DateLog.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "support/TestServices.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {
const QByteArray FirstLine = "Start Of Log :\r\n";
} // namespace

// "DateLog.Qmt": created at start-up, five lines per long date, bounded, and
// never the reason a date cannot be shown.
class TestDateLog : public QObject {
    Q_OBJECT
private slots:
    void ensureCreatesOnlyWhenMissing();
    void longDateAppendsFiveLines_data();
    void longDateAppendsFiveLines();
    void failedDateLeavesItsTrace();
    void logStaysBounded_data();
    void logStaysBounded();
};

void TestDateLog::ensureCreatesOnlyWhenMissing() {
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::DateLogFileName);
    qm::EnsureDateLog(path);
    QCOMPARE(qm::test::ReadBytes(path), FirstLine);

    const QByteArray existing = FirstLine + "Before Format :x\r\n";
    qm::test::WriteBytes(path, existing);
    qm::EnsureDateLog(path);
    QCOMPARE(qm::test::ReadBytes(path), existing);
}

void TestDateLog::longDateAppendsFiveLines_data() {
    QTest::addColumn<QChar>("sep");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("trace");
    QTest::newRow("slash") << QChar(u'/') << u"1/3/2000"_s
                           << QByteArray("Before Format :1/3/2000\r\nAfter Format :01/03/2000\r\n"
                                         "Day :1\r\nMonth :3\r\nYear :2000\r\n");
    QTest::newRow("dash") << QChar(u'-') << u"16-03-2000 09:05"_s
                          << QByteArray("Before Format :16-03-2000 09:05\r\n"
                                        "After Format :16-03-2000\r\n"
                                        "Day :16\r\nMonth :3\r\nYear :2000\r\n");
    QTest::newRow("dot, two-digit year") << QChar(u'.') << u"5.11.99"_s
                                         << QByteArray("Before Format :5.11.99\r\n"
                                                       "After Format :05.11.1999\r\n"
                                                       "Day :5\r\nMonth :11\r\nYear :1999\r\n");
}

void TestDateLog::longDateAppendsFiveLines() {
    QFETCH(QChar, sep);
    QFETCH(QString, text);
    QFETCH(QByteArray, trace);
    qm::test::TestServices fixture;
    qm::SetDateSep(sep);
    const QString path = fixture.path(qm::DateLogFileName);
    qm::EnsureDateLog(path);

    qm::LongDateText(text, true);
    QCOMPARE(qm::test::ReadBytes(path), FirstLine + trace);
    qm::LongDateText(text, false);
    QCOMPARE(qm::test::ReadBytes(path), FirstLine + trace + trace);

    // A log the user deleted is started again instead of failing the date.
    QVERIFY(QFile::remove(path));
    qm::LongDateText(text, false);
    QCOMPARE(qm::test::ReadBytes(path), FirstLine + trace);
    qm::SetDateSep(u'/');
}

void TestDateLog::failedDateLeavesItsTrace() {
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::DateLogFileName);
    qm::EnsureDateLog(path);
    QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::LongDateText(u"29/02/1900"_s, false));
    QCOMPARE(qm::test::ReadBytes(path), FirstLine + "Before Format :29/02/1900\r\n");
}

void TestDateLog::logStaysBounded_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("cut");
    QTest::newRow("small") << qint64(100) << false;
    QTest::newRow("exactly 512 KiB") << qint64(512 * 1024) << false;
    QTest::newRow("past 512 KiB") << qint64(512 * 1024 + 7) << true;
}

// Past its bound the log keeps its first line and its newest whole lines,
// about half the bound, rather than starting afresh.
void TestDateLog::logStaysBounded() {
    QFETCH(qint64, size);
    QFETCH(bool, cut);
    qm::test::TestServices fixture;
    const QString path = fixture.path(qm::DateLogFileName);
    QByteArray old = FirstLine;
    for (int n = 0; old.size() < size; ++n)
        old += "Day :" + QByteArray::number(n) + "\r\n";
    old = old.left(size - 2) + "\r\n";
    qm::test::WriteBytes(path, old);

    qm::AppendDateLog({u"Day :1"_s, u"Month :3"_s});
    const QByteArray added = "Day :1\r\nMonth :3\r\n";
    const qsizetype keepFrom = old.indexOf("\r\n", old.size() - 256 * 1024) + 2;
    QCOMPARE(qm::test::ReadBytes(path), cut ? FirstLine + old.mid(keepFrom) + added : old + added);
}

QTEST_GUILESS_MAIN(TestDateLog)
#include "tst_datelog.moc"
