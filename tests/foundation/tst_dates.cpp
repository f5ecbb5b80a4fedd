#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "support/TestServices.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A blank is a separator too: the C locale's short format is "d MMM yyyy".
const QList<QChar> Separators = {u'/', u'-', u'.', u' '};

// Rows are written with '/'; every test runs them with each separator.
QString withSep(const QString &text, QChar sep) {
    QString result = text;
    return result.replace(u'/', sep);
}

// Restores the default separator whatever a test set.
struct SepGuard {
    ~SepGuard() { qm::SetDateSep(u'/'); }
};

} // namespace

class TestDates : public QObject {
    Q_OBJECT
private slots:
    void isValidDate_data();
    void isValidDate();
    void dateConversions_data();
    void dateConversions();
    void sortableRoundTrip();
    void timeToDisplay_data();
    void timeToDisplay();
    void timeValues();
    void isValidTime_data();
    void isValidTime();
    void longDateText_data();
    void longDateText();
    void delay_data();
    void delay();
};

void TestDates::isValidDate_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("29/02/1900 counts as leap") << u"29/02/1900"_s << true;
    QTest::newRow("29/02/2100 counts as leap") << u"29/02/2100"_s << true;
    QTest::newRow("29/02/2000") << u"29/02/2000"_s << true;
    QTest::newRow("29/02/2001") << u"29/02/2001"_s << false;
    QTest::newRow("31/04/2000") << u"31/04/2000"_s << false;
    QTest::newRow("1/1/0 is 1900") << u"1/1/0"_s << true;
    QTest::newRow("1/1/00 is 1900") << u"1/1/00"_s << true;
    QTest::newRow("1/1/000 is not a year") << u"1/1/000"_s << false;
    QTest::newRow("1/1/1850 becomes 3750") << u"1/1/1850"_s << false;
    QTest::newRow("1/1/1851") << u"1/1/1851"_s << false;
    QTest::newRow("01/01/1899") << u"01/01/1899"_s << true;
    QTest::newRow("01/01/2199") << u"01/01/2199"_s << true;
    QTest::newRow("01/01/2200") << u"01/01/2200"_s << false;
    QTest::newRow("1/1/99 is 1999") << u"1/1/99"_s << true;
    QTest::newRow("1/1") << u"1/1"_s << false;
    QTest::newRow("no second separator") << u"11/12"_s << false;
    QTest::newRow("1/1/abc") << u"1/1/abc"_s << false;
    QTest::newRow("too short") << u"1/1/"_s << false;
    QTest::newRow("too long") << u"01/01/20000"_s << false;
    QTest::newRow("no separator") << u"01012000"_s << false;
    QTest::newRow("month 13") << u"1/13/2000"_s << false;
    QTest::newRow("day 0") << u"0/1/2000"_s << false;
    QTest::newRow("negative year") << u"1/1/-5"_s << false;
    QTest::newRow("masked, blanks") << u"1 /3 /1999"_s << true;
    QTest::newRow("masked, short year") << u"01/03/99  "_s << true;
    QTest::newRow("empty mask") << u"  /  /    "_s << false;
}

void TestDates::isValidDate() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    SepGuard guard;
    for (const QChar sep : Separators) {
        qm::SetDateSep(sep);
        QCOMPARE(qm::IsValidDate(withSep(text, sep)), valid);
    }
    // A text with a separator other than the program's is not a date.
    if (valid && text.contains(u'/')) {
        qm::SetDateSep(u'-');
        QVERIFY(!qm::IsValidDate(text));
    }
}

void TestDates::dateConversions_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("display"); // empty: the conversion fails
    QTest::addColumn<QString>("sortable");
    QTest::addColumn<QString>("dayName");
    QTest::newRow("display form") << u"16/03/2000"_s << u"16/03/2000"_s << u"20000316"_s
                                  << u"Thursday"_s;
    QTest::newRow("one-digit day and month")
        << u"1/3/1999"_s << u"01/03/1999"_s << u"19990301"_s << u"Monday"_s;
    QTest::newRow("with a time") << u"16/03/2000 09:05"_s << u"16/03/2000"_s << u"20000316"_s
                                 << u"Thursday"_s;
    QTest::newRow("with seconds") << u"20/03/2000 14:35:12"_s << u"20/03/2000"_s << u"20000320"_s
                                  << u"Monday"_s;
    QTest::newRow("masked blanks")
        << u"1 /3 /1999"_s << u"01/03/1999"_s << u"19990301"_s << u"Monday"_s;
    QTest::newRow("two-digit year is 19xx")
        << u"01/03/99  "_s << u"01/03/1999"_s << u"19990301"_s << u"Monday"_s;
    QTest::newRow("year 0 is 1900")
        << u"1/1/0"_s << u"01/01/1900"_s << u"19000101"_s << u"Monday"_s;
    // IsValidDate counts 150 as 2050; the conversion agrees with it.
    QTest::newRow("three-digit year")
        << u"1/1/150"_s << u"01/01/2050"_s << u"20500101"_s << u"Saturday"_s;
    QTest::newRow("leap day 2000")
        << u"29/02/2000"_s << u"29/02/2000"_s << u"20000229"_s << u"Tuesday"_s;
    QTest::newRow("not in the calendar") << u"29/02/1900"_s << QString() << QString() << QString();
    QTest::newRow("31 April") << u"31/04/2000"_s << QString() << QString() << QString();
    QTest::newRow("no year") << u"1/3"_s << QString() << QString() << QString();
    QTest::newRow("words") << u"today"_s << QString() << QString() << QString();
    QTest::newRow("empty mask") << u"  /  /    "_s << QString() << QString() << QString();
    QTest::newRow("trailing text") << u"1/3/1999x"_s << QString() << QString() << QString();
    QTest::newRow("bad time") << u"1/3/1999 25:00"_s << QString() << QString() << QString();
    QTest::newRow("time alone") << u"12:30"_s << QString() << QString() << QString();
    QTest::newRow("five-digit year") << u"1/3/19999"_s << QString() << QString() << QString();
}

void TestDates::dateConversions() {
    QFETCH(QString, text);
    QFETCH(QString, display);
    QFETCH(QString, sortable);
    QFETCH(QString, dayName);
    SepGuard guard;
    for (const QChar sep : Separators) {
        qm::SetDateSep(sep);
        const QString input = withSep(text, sep);
        if (display.isEmpty()) {
            QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::DateToDisplay(input));
            QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::DateToSortable(input));
            QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::DayName(input));
            continue;
        }
        QCOMPARE(qm::DateToDisplay(input), withSep(display, sep));
        QCOMPARE(qm::DateToSortable(input), sortable);
        QCOMPARE(qm::DayName(input), dayName);
        const QDate date = qm::TextToDate(input);
        QCOMPARE(qm::DateToDisplay(date), withSep(display, sep));
        QCOMPARE(qm::DateToSortable(date), sortable);
    }
}

void TestDates::sortableRoundTrip() {
    SepGuard guard;
    for (const QChar sep : Separators) {
        qm::SetDateSep(sep);
        const QString display = qm::SortableToDisplay(u"20001231"_s);
        QCOMPARE(display, withSep(u"31/12/2000"_s, sep));
        QCOMPARE(qm::DisplayToSortable(display), u"20001231"_s);
        QCOMPARE(qm::DisplayToSortable(withSep(u"16/03/2000"_s, sep)), u"20000316"_s);
    }
    // The positions are fixed; the separators are not looked at.
    QCOMPARE(qm::DisplayToSortable(u"16x03y2000"_s), u"20000316"_s);
    QCOMPARE(qm::SortableToDisplay(QString()), QString());
    QCOMPARE(qm::DateToSortable(QString()), QString());
    QCOMPARE(qm::DateToSortable(QDate()), QString());
    QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::DateToDisplay(QString()));
}

void TestDates::timeToDisplay_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // empty: the conversion fails
    QTest::newRow("7:5") << u"7:5"_s << u"07:05"_s;
    QTest::newRow("9:5") << u"9:5"_s << u"09:05"_s;
    QTest::newRow("17:30 stays") << u"17:30"_s << u"17:30"_s;
    QTest::newRow("hours alone") << u"9"_s << u"09:00"_s;
    QTest::newRow("seconds dropped") << u"9:05:30"_s << u"09:05"_s;
    QTest::newRow("0:0") << u"0:0"_s << u"00:00"_s;
    QTest::newRow("empty gives 0") << QString() << u"0"_s;
    // Only a time already in normal form is taken over as it is; a padded
    // entry is converted, so no stored time keeps a blank.
    QTest::newRow("padded hour") << u" 9:30"_s << u"09:30"_s;
    QTest::newRow("padded minute") << u"09: 5"_s << u"09:05"_s;
    QTest::newRow("five letters with separator") << u"ab:cd"_s << QString();
    QTest::newRow("date and time") << u"16/03/2000 09:05"_s << u"09:05"_s;
    QTest::newRow("date alone is midnight") << u"16/03/2000"_s << u"00:00"_s;
    QTest::newRow("24:0") << u"24:0"_s << QString();
    QTest::newRow("9:60") << u"9:60"_s << QString();
    QTest::newRow("12:") << u"12:"_s << QString();
    QTest::newRow("words") << u"noon"_s << QString();
}

void TestDates::timeToDisplay() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    SepGuard guard;
    for (const QChar sep : Separators) {
        qm::SetDateSep(sep);
        const QString input = withSep(text, sep);
        if (expected.isEmpty())
            QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::TimeToDisplay(input));
        else
            QCOMPARE(qm::TimeToDisplay(input), expected);
    }
}

void TestDates::timeValues() {
    QCOMPARE(qm::TimeToDisplay(QVariant()), QString());
    QCOMPARE(qm::TimeToDisplay(QTime()), QString());
    QCOMPARE(qm::TimeToDisplay(QTime(7, 5, 59)), u"07:05"_s);
    QCOMPARE(qm::TimeToDisplay(QDateTime(QDate(2000, 3, 16), QTime(23, 59))), u"23:59"_s);
    QCOMPARE(qm::TimeToDisplay(QVariant(QTime(9, 5))), u"09:05"_s);
    QCOMPARE(qm::TimeToDisplay(QVariant(QDateTime(QDate(2000, 3, 16), QTime(0, 1)))), u"00:01"_s);
    QCOMPARE(qm::TimeToDisplay(QVariant(u"9:5"_s)), u"09:05"_s);
}

void TestDates::isValidTime_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("9") << u"9"_s << true;
    QTest::newRow("0:0") << u"0:0"_s << true;
    QTest::newRow("00:00") << u"00:00"_s << true;
    QTest::newRow("23:59") << u"23:59"_s << true;
    QTest::newRow("24:00") << u"24:00"_s << false;
    QTest::newRow("12:60") << u"12:60"_s << false;
    QTest::newRow("12:") << u"12:"_s << false;
    QTest::newRow(":30") << u":30"_s << false;
    QTest::newRow("not a whole hour") << u"9.5:00"_s << false;
    QTest::newRow("000 is not numeric") << u"000:00"_s << false;
    QTest::newRow("seconds") << u"12:30:00"_s << false;
    QTest::newRow("negative") << u"-1:00"_s << false;
    QTest::newRow("words") << u"ab:cd"_s << false;
    QTest::newRow("empty") << QString() << false;
    // Numbers that are no clock digits, and blanks around the digits.
    QTest::newRow("sign") << u"+7:30"_s << false;
    QTest::newRow("decimal hour") << u"7.0:30"_s << false;
    QTest::newRow("decimal minute") << u"07:30.0"_s << false;
    QTest::newRow("exponent") << u"1e1:00"_s << false;
    QTest::newRow("no-break space") << u"07:30\u00A0"_s << true;
    QTest::newRow("trailing blanks") << u"07:30     "_s << true;
    QTest::newRow("blanks around") << u" 7 : 30\t"_s << true;
}

// What passes the check converts, to the time it names.
void TestDates::isValidTime() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(qm::IsValidTime(text), valid);
    if (valid) {
        const QString normal = qm::TimeToDisplay(text);
        QCOMPARE(qm::TimeToDisplay(qm::TextToTime(text)), normal);
        QCOMPARE(normal.size(), 5);
    }
}

void TestDates::longDateText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withDayName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1st") << u"01/03/2000"_s << false << u"1st March 2000"_s;
    QTest::newRow("2nd") << u"02/01/2000"_s << false << u"2nd January 2000"_s;
    QTest::newRow("3rd") << u"3/12/1999"_s << false << u"3rd December 1999"_s;
    QTest::newRow("11th") << u"11/11/2000"_s << false << u"11th November 2000"_s;
    QTest::newRow("12th") << u"12/11/2000"_s << false << u"12th November 2000"_s;
    QTest::newRow("13th") << u"13/03/2000"_s << false << u"13th March 2000"_s;
    QTest::newRow("21st") << u"21/06/2000"_s << false << u"21st June 2000"_s;
    QTest::newRow("22nd") << u"22/03/2000"_s << false << u"22nd March 2000"_s;
    QTest::newRow("23rd") << u"23/10/2000"_s << false << u"23rd October 2000"_s;
    QTest::newRow("31st") << u"31/03/2000"_s << false << u"31st March 2000"_s;
    QTest::newRow("with day name") << u"16/03/2000"_s << true << u"Thursday 16th March 2000"_s;
    QTest::newRow("Sunday") << u"19/03/2000"_s << true << u"Sunday 19th March 2000"_s;
    QTest::newRow("date and time") << u"20/03/2000 14:35:12"_s << false << u"20th March 2000"_s;
}

void TestDates::longDateText() {
    QFETCH(QString, text);
    QFETCH(bool, withDayName);
    QFETCH(QString, expected);
    qm::test::TestServices fixture;
    SepGuard guard;
    for (const QChar sep : Separators) {
        qm::SetDateSep(sep);
        QCOMPARE(qm::LongDateText(withSep(text, sep), withDayName), expected);
    }
}

void TestDates::delay_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<qint64>("expectedMs");
    const QDateTime morning(QDate(2024, 3, 15), QTime(9, 0));
    QTest::newRow("splash wait") << 3 << morning << qint64(2592);
    QTest::newRow("one unit") << 1 << morning << qint64(864);
    QTest::newRow("across midnight")
        << 3 << QDateTime(QDate(2024, 3, 15), QTime(23, 59, 59)) << qint64(2592);
    QTest::newRow("no wait") << 0 << morning << qint64(0);
}

void TestDates::delay() {
    QFETCH(int, n);
    QFETCH(QDateTime, start);
    QFETCH(qint64, expectedMs);
    qm::test::TestServices fixture;
    fixture.clock.set(start);

    // Time passes in steps while the event loop runs: Delay must notice the
    // clock (not a real-time wait) and must keep events flowing.
    constexpr qint64 Step = 50;
    int ticks = 0;
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        fixture.clock.advanceMs(Step);
    });
    ticker.start();

    QElapsedTimer real;
    real.start();
    qm::Delay(n);
    ticker.stop();

    const qint64 waited = fixture.clock.elapsedMs();
    QVERIFY2(waited >= expectedMs, qPrintable(QString::number(waited)));
    QVERIFY2(waited < expectedMs + Step, qPrintable(QString::number(waited)));
    QCOMPARE(qint64(ticks) * Step, waited);
    // The fake clock ran far ahead of real time: Delay followed it.
    QVERIFY(real.elapsed() < expectedMs || expectedMs == 0);
}

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
