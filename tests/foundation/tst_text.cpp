#include "diary/Appointment.h"
#include "diary/AppointmentRules.h"
#include "diary/AppointmentStore.h"
#include "foundation/Codec1252.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/Text.h"
#include "support/TestServices.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// Record lines are cut apart with these helpers, so their edges (positions,
// counts, empty texts) are part of every file format.
class TestText : public QObject {
    Q_OBJECT
private slots:
    void cutting_data();
    void cutting();
    void finding_data();
    void finding();
    void padZeros_data();
    void padZeros();
    void isBlank_data();
    void isBlank();
    void shiftRoundTripsEveryByte();
    void upperCaseOfTheCodePage_data();
    void upperCaseOfTheCodePage();
    void numbers_data();
    void numbers();
    void undefinedBytesRoundTrip_data();
    void undefinedBytesRoundTrip();
    void diaryLinesWithUndefinedBytesSaveUnchanged();
};

// Which helper a row of cutting() runs.
enum Cut { Left, Right, Mid };

void TestText::cutting_data() {
    QTest::addColumn<int>("helper");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    QTest::newRow("mid inside") << int(Mid) << u"abcdef"_s << 3 << 2 << u"cd"_s;
    QTest::newRow("mid to the end") << int(Mid) << u"abcdef"_s << 5 << -1 << u"ef"_s;
    QTest::newRow("mid start past end") << int(Mid) << u"abc"_s << 4 << 1 << QString();
    QTest::newRow("mid cut at end") << int(Mid) << u"abc"_s << 2 << 10 << u"bc"_s;
    QTest::newRow("mid count 0") << int(Mid) << u"abc"_s << 1 << 0 << QString();
    QTest::newRow("mid start 0 counts as 1") << int(Mid) << u"abc"_s << 0 << 2 << u"ab"_s;
    QTest::newRow("mid count -2 is empty") << int(Mid) << u"abc"_s << 1 << -2 << QString();
    QTest::newRow("mid of empty") << int(Mid) << QString() << 1 << -1 << QString();
    QTest::newRow("left") << int(Left) << u"abc"_s << 0 << 2 << u"ab"_s;
    QTest::newRow("left past length") << int(Left) << u"abc"_s << 0 << 9 << u"abc"_s;
    QTest::newRow("left 0") << int(Left) << u"abc"_s << 0 << 0 << QString();
    QTest::newRow("left negative") << int(Left) << u"abc"_s << 0 << -1 << QString();
    QTest::newRow("right") << int(Right) << u"abc"_s << 0 << 2 << u"bc"_s;
    QTest::newRow("right past length") << int(Right) << u"abc"_s << 0 << 9 << u"abc"_s;
    QTest::newRow("right negative") << int(Right) << u"abc"_s << 0 << -3 << QString();
}

void TestText::cutting() {
    QFETCH(int, helper);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, count);
    QFETCH(QString, expected);
    QString result;
    switch (Cut(helper)) {
    case Left:
        result = qm::LeftText(text, count);
        break;
    case Right:
        result = qm::RightText(text, count);
        break;
    case Mid:
        result = qm::MidText(text, start, count);
        break;
    }
    QCOMPARE(result, expected);
}

void TestText::finding_data() {
    QTest::addColumn<bool>("nth"); // FindNth(start, ...) instead of FindFrom(start, ...)
    QTest::addColumn<int>("startOrN");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sub");
    QTest::addColumn<int>("expected");
    QTest::newRow("from 3") << false << 3 << u"a|b|c"_s << u"|"_s << 4;
    QTest::newRow("from 5, none left") << false << 5 << u"a|b|c"_s << u"|"_s << 0;
    QTest::newRow("from past end") << false << 9 << u"a|b|c"_s << u"|"_s << 0;
    QTest::newRow("at the start position") << false << 2 << u"a|b|c"_s << u"|"_s << 2;
    QTest::newRow("case-sensitive") << false << 1 << u"aBcb"_s << u"b"_s << 4;
    QTest::newRow("longer sub") << false << 1 << u"xxabab"_s << u"abab"_s << 3;
    QTest::newRow("sub longer than text") << false << 1 << u"ab"_s << u"abc"_s << 0;
    QTest::newRow("2nd") << true << 2 << u"a|b|c"_s << u"|"_s << 4;
    QTest::newRow("1st") << true << 1 << u"a|b|c"_s << u"|"_s << 2;
    QTest::newRow("0th") << true << 0 << u"a|b|c"_s << u"|"_s << 0;
    QTest::newRow("one past the last") << true << 3 << u"a|b|c"_s << u"|"_s << 0;
    // After running out the search begins again at position 1.
    QTest::newRow("two past the last") << true << 4 << u"a|b|c"_s << u"|"_s << 2;
    QTest::newRow("field separator")
        << true << 3 << u"20000316\u00FF09:00\u00FF10:00\u00FFx"_s << u"\u00FF"_s << 21;
}

void TestText::finding() {
    QFETCH(bool, nth);
    QFETCH(int, startOrN);
    QFETCH(QString, text);
    QFETCH(QString, sub);
    QFETCH(int, expected);
    const qsizetype found =
        nth ? qm::FindNth(startOrN, text, sub) : qm::FindFrom(startOrN, text, sub);
    QCOMPARE(found, qsizetype(expected));
}

void TestText::padZeros_data() {
    QTest::addColumn<qint64>("number");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7 to 2") << qint64(7) << 2 << u"07"_s;
    QTest::newRow("5 to 2") << qint64(5) << 2 << u"05"_s;
    QTest::newRow("123 to 2, longer") << qint64(123) << 2 << u"123"_s;
    QTest::newRow("301 to 3") << qint64(301) << 3 << u"301"_s;
    QTest::newRow("1000 to 3") << qint64(1000) << 3 << u"1000"_s;
    QTest::newRow("0 to 4") << qint64(0) << 4 << u"0000"_s;
}

void TestText::padZeros() {
    QFETCH(qint64, number);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(qm::PadZeros(number, width), expected);
}

void TestText::isBlank_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("blank");
    QTest::newRow("empty") << QString() << true;
    QTest::newRow("spaces") << u"   "_s << true;
    QTest::newRow("controls") << u"\t\r\n\u0001 "_s << true;
    QTest::newRow("word in blanks") << u"  a  "_s << false;
    QTest::newRow("date mask") << u"  /  /    "_s << false;
    QTest::newRow("no-break space is text") << u"\u00A0"_s << false;
}

void TestText::isBlank() {
    QFETCH(QString, text);
    QFETCH(bool, blank);
    QCOMPARE(qm::IsBlank(text), blank);
}

void TestText::shiftRoundTripsEveryByte() {
    QCOMPARE(qm::ShiftUp(u"abc"_s), u"efg"_s);
    // Codes 252 to 255 wrap round to 0 to 3 and come back.
    QCOMPARE(qm::ShiftUp(u"\u00FC\u00FF"_s), QString(QChar(0)) + QChar(3));
    QCOMPARE(qm::ShiftDown(QString(QChar(0)) + QChar(3)), u"\u00FC\u00FF"_s);

    // Every Windows-1252 character, as a password may hold it.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    const QString all = qm::DecodeCp1252(bytes);
    const QByteArray up = qm::EncodeCp1252(qm::ShiftUp(all));
    for (int b = 0; b < 256; ++b)
        QCOMPARE(int(quint8(up.at(b))), (b + 4) % 256);
    QCOMPARE(qm::ShiftDown(qm::ShiftUp(all)), all);
    QCOMPARE(qm::ShiftUp(qm::ShiftDown(all)), all);
}

// Typed text is capitalised as the code page does it: a letter without a
// capital there stays as typed, so what is shown can always be stored.
void TestText::upperCaseOfTheCodePage_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("upper");
    QTest::newRow("ascii") << u"abc xyz 09!"_s << u"ABC XYZ 09!"_s;
    QTest::newRow("micro sign stays") << u"5\u00B5m"_s << u"5\u00B5M"_s;
    QTest::newRow("sharp s stays") << u"stra\u00DFe"_s << u"STRA\u00DFE"_s;
    QTest::newRow("accented") << u"\u00E9t \u00FF \u00B5"_s << u"\u00C9T \u0178 \u00B5"_s;
    QTest::newRow("division sign stays") << u"\u00F7\u00E0\u00FE"_s << u"\u00F7\u00C0\u00DE"_s;
    QTest::newRow("upper half of 0x80") << u"\u0161\u0153\u017E"_s << u"\u0160\u0152\u017D"_s;
    QTest::newRow("outside the code page stays")
        << u"\u043F\u0430\u0440\u043E\u043B\u044C"_s << u"\u043F\u0430\u0440\u043E\u043B\u044C"_s;
}

void TestText::upperCaseOfTheCodePage() {
    QFETCH(QString, typed);
    QFETCH(QString, upper);
    QCOMPARE(qm::UpperCaseCp1252(typed), upper);
    // Whatever the code page holds, its capital is in the code page too.
    QString all;
    for (int b = 0x20; b < 256; ++b)
        if (const QString c = qm::DecodeCp1252(QByteArray(1, char(b)));
            qm::IsCp1252Representable(c))
            all += c;
    QVERIFY(qm::IsCp1252Representable(qm::UpperCaseCp1252(all)));
}

void TestText::numbers_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<double>("number");
    QTest::newRow("0") << QVariant(u"0"_s) << true << true << 0.0;
    QTest::newRow("00") << QVariant(u"00"_s) << true << true << 0.0;
    QTest::newRow("0.00") << QVariant(u"0.00"_s) << true << true << 0.0;
    QTest::newRow("000 is zero but not numeric") << QVariant(u"000"_s) << false << true << 0.0;
    QTest::newRow("0.0 is zero but not numeric") << QVariant(u"0.0"_s) << false << true << 0.0;
    QTest::newRow("empty") << QVariant(QString()) << false << true << 0.0;
    QTest::newRow("blank") << QVariant(u"  "_s) << false << true << 0.0;
    QTest::newRow("12") << QVariant(u"12"_s) << true << true << 12.0;
    QTest::newRow(" 12 ") << QVariant(u" 12 "_s) << true << true << 12.0;
    QTest::newRow("-2.5") << QVariant(u"-2.5"_s) << true << true << -2.5;
    QTest::newRow("abc") << QVariant(u"abc"_s) << false << false << 0.0;
    QTest::newRow("12a") << QVariant(u"12a"_s) << false << false << 0.0;
    QTest::newRow("inf") << QVariant(u"inf"_s) << false << false << 0.0;
    QTest::newRow("nan") << QVariant(u"nan"_s) << false << false << 0.0;
    QTest::newRow("null value") << QVariant() << true << true << 0.0;
    QTest::newRow("integer value") << QVariant(7) << true << true << 7.0;
}

void TestText::numbers() {
    QFETCH(QVariant, value);
    QFETCH(bool, numeric);
    QFETCH(bool, converts);
    QFETCH(double, number);
    QCOMPARE(qm::IsNumeric(value), numeric);
    if (converts)
        QCOMPARE(qm::ToNumber(value), number);
    else
        QVERIFY_THROWS_EXCEPTION(qm::ConversionError, qm::ToNumber(value));
}

// The five bytes Windows-1252 leaves undefined come back as they were read,
// and text holding them may be saved.
void TestText::undefinedBytesRoundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x81") << "\x81"_ba << u"\u0081"_s;
    QTest::newRow("0x8D") << "\x8d"_ba << u"\u008D"_s;
    QTest::newRow("0x8F") << "\x8f"_ba << u"\u008F"_s;
    QTest::newRow("0x90") << "\x90"_ba << u"\u0090"_s;
    QTest::newRow("0x9D") << "\x9d"_ba << u"\u009D"_s;
    QTest::newRow("among letters")
        << "Caf\xe9 \x81\x80\x9d"_ba << u"Caf\u00e9 \u0081\u20ac\u009D"_s;
}

void TestText::undefinedBytesRoundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(qm::DecodeCp1252(bytes), text);
    bool ok = false;
    QCOMPARE(qm::EncodeCp1252(text, &ok), bytes);
    QVERIFY(ok);
    QVERIFY(qm::IsCp1252Representable(text));
    QString reason;
    QVERIFY2(qm::CanStoreInField(text, u"Description"_s, &reason), qPrintable(reason));
    QVERIFY2(qm::CanStoreInLastField(text, u"Description"_s, &reason), qPrintable(reason));
}

// Appointments read from a file, taken into the editor's fields and saved
// as they were: the save is allowed and the file is the same, byte for byte.
void TestText::diaryLinesWithUndefinedBytesSaveUnchanged() {
    qm::test::TestServices services;
    const QByteArray original = qm::test::TestData(u"diary/undefined_bytes.qmt"_s);
    const QString path = services.path(qm::DiaryFileName);
    qm::test::WriteBytes(path, original);
    qm::AppointmentStore store;
    store.loadFile();
    QCOMPARE(store.size(), 2);
    for (qsizetype position = 0; position < store.size(); ++position) {
        const qm::Appointment read = qm::ReadAppointment(store.at(position));
        qm::AppointmentEntries entries;
        entries.date = qm::SortableToDisplay(read.date);
        entries.start = read.start;
        entries.end = read.end;
        entries.duration = qm::DurationFromTimes(read.start, read.end).value_or(QString());
        entries.description = read.description;
        entries.remind = QString::number(read.reminder);
        entries.remindEnabled = read.reminder > 0;
        entries.tentative = read.tentative;
        QCOMPARE(qm::AppointmentSaveReasons(entries), QString());
        store.replace(position, qm::AppointmentLineFromEntries(entries));
        QCOMPARE(qm::test::ReadBytes(path), original);
    }
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
