// The calculator key by key: each row is a key sequence and what the display
// and the memory indicator show after it.
#include "calculator/Calculator.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Keys are written as on the buttons, separated by spaces; a run of digits
// and separators is typed one character at a time, "Enter" and "Bksp" are
// those keyboard keys. In expected displays "␣" is the trailing space.
QStringList keysOf(const QString &sequence) {
    const auto isTyped = [](QChar c) { return c.isDigit() || c == u'.' || c == u','; };
    QStringList keys;
    for (const QString &word : sequence.split(u' ', Qt::SkipEmptyParts)) {
        if (word == u"Enter"_s)
            keys << u"\r"_s;
        else if (word == u"Bksp"_s)
            keys << u"\b"_s;
        else if (word.size() > 1 && std::all_of(word.begin(), word.end(), isTyped))
            for (QChar c : word)
                keys << QString(c);
        else
            keys << word;
    }
    return keys;
}

qm::Calculator run(QChar separator, const QString &sequence) {
    qm::Calculator calculator(separator);
    for (const QString &key : keysOf(sequence))
        calculator.CalculatorKey(key);
    return calculator;
}

QString shown(QString text) {
    return text.replace(u'␣', u' ');
}

} // namespace

class TestCalculator : public QObject {
    Q_OBJECT
private slots:
    void keys_data();
    void keys();
    void failureKeepsTheRunningResult_data();
    void failureKeepsTheRunningResult();
    void formatting_data();
    void formatting();
    void reading_data();
    void reading();
};

void TestCalculator::keys_data() {
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<QString>("display");
    QTest::addColumn<bool>("memory");

    // Every row runs with "." and again with "," as the decimal separator.
    const auto row = [](const char *name, const QString &sequence, const QString &display,
                        bool memory = false) {
        for (QChar separator : {u'.', u','}) {
            const auto local = [separator](QString text) { return text.replace(u'.', separator); };
            QTest::addRow("%s [%c]", name, char(separator.unicode()))
                << separator << local(sequence) << shown(local(display)) << memory;
        }
    };

    // Typing numbers.
    row("switched on", u""_s, u"0.␣"_s);
    row("zero on zero", u"0 0"_s, u"0.␣"_s);
    row("whole digits go before the separator", u"12"_s, u"12.␣"_s);
    row("point shows nothing new", u"12."_s, u"12.␣"_s);
    row("fraction digit", u"12.5"_s, u"12.5␣"_s);
    row("second point ignored", u"1.2.5"_s, u"1.25␣"_s);
    row("point then digit on zero", u". 5"_s, u"0.5␣"_s);
    row("fifteen digits at most", u"9999999999999999"_s, u"999999999999999.␣"_s);
    row("fourteen with a sign", u"1 +/- 23456789012345"_s, u"-12345678901234.␣"_s);
    row("fraction digits count too", u"1.23456789012345678"_s, u"1.23456789012345␣"_s);

    // Sign and delete.
    row("sign on zero", u"+/-"_s, u"-0.␣"_s);
    row("zero kept after sign", u"+/- 5"_s, u"-05.␣"_s);
    row("signed zero reads as its digits", u"+/- 5 + 1 ="_s, u"-4.␣"_s);
    row("sign twice", u"5 +/- +/-"_s, u"5.␣"_s);
    row("sign on a result", u"2 + 3 = +/-"_s, u"-5.␣"_s);
    row("delete whole digit", u"123 Del"_s, u"12.␣"_s);
    row("delete fraction digit", u"12.3 Del"_s, u"12.␣"_s);
    row("fraction goes on after delete", u"12.3 Del 4"_s, u"12.4␣"_s);
    row("delete the separator's last digit", u"5 +/- Del"_s, u"-.␣"_s);
    row("delete past the sign", u"5 +/- Del Del"_s, u"0.␣"_s);
    row("digit after the lone sign", u"5 +/- Del 3"_s, u"-3.␣"_s);
    row("delete on zero", u"Del"_s, u"0.␣"_s);
    row("backspace deletes", u"123 Bksp Bksp"_s, u"1.␣"_s);
    row("result cannot be edited", u"2 + 3 = Del"_s, u"5.␣"_s);

    // Operators: left to right, no precedence.
    row("no precedence", u"2 + 3 * 4 ="_s, u"20.␣"_s);
    row("subtraction chains", u"10 - 4 - 3 ="_s, u"3.␣"_s);
    row("division", u"6 / 4 ="_s, u"1.5␣"_s);
    row("operator shows the running result", u"2 + 3 *"_s, u"5.␣"_s);
    row("equals does not repeat", u"2 + 3 = ="_s, u"5.␣"_s);
    row("operator twice applies again", u"2 + +"_s, u"4.␣"_s);
    row("changed operator applies the first", u"2 + -"_s, u"4.␣"_s);
    row("changed operator stays pending", u"2 + - 1 ="_s, u"3.␣"_s);
    row("digit after result starts anew", u"2 + 3 = 7"_s, u"7.␣"_s);
    row("point after result starts anew", u"2 + 3 = . 5"_s, u"0.5␣"_s);
    row("fifteen significant digits", u"1 / 3 ="_s, u"0.333333333333333␣"_s);
    row("rounded last digit", u"2 / 3 ="_s, u"0.666666666666667␣"_s);
    row("smallest plain result", u"1 / 10000 ="_s, u"0.0001␣"_s);
    row("largest plain result", u"999999999999999 ="_s, u"999999999999999.␣"_s);
    row("negative result", u"3 - 5 ="_s, u"-2.␣"_s);
    row("negative zero result", u"+/- ="_s, u"0.␣"_s);
    row("clear entry keeps the calculation", u"2 + 3 CE 4 ="_s, u"6.␣"_s);
    row("clear drops the calculation", u"2 + 3 C 4 ="_s, u"4.␣"_s);

    // Errors and the ways out of them.
    row("too small", u"1 / 30000 ="_s, u"Error␣"_s);
    row("too large", u"99999999 * 99999999 ="_s, u"Error␣"_s);
    row("rounds up to too large", u"999999999999999 + .5 ="_s, u"Error␣"_s);
    row("one past the largest", u"999999999999999 + 1 ="_s, u"Error␣"_s);
    row("division by zero", u"5 / 0 ="_s, u"Error␣"_s);
    row("zero by zero", u"0 / 0 ="_s, u"Error␣"_s);
    row("operator on the lone sign", u"5 +/- Del +"_s, u"Error␣"_s);
    row("keys ignored in error", u"5 / 0 = 7 +/- MR + Del ."_s, u"Error␣"_s);
    row("clear entry leaves error", u"5 / 0 = CE"_s, u"0.␣"_s);
    row("clear entry leaves no calculation", u"2 + 5 / 0 = CE 4 ="_s, u"4.␣"_s);
    row("clear leaves error", u"5 / 0 = C 5"_s, u"5.␣"_s);
    row("digit after a cleared result error", u"1 / 30000 = C 5"_s, u"5.␣"_s);

    // Memory.
    row("store shows M", u"7 MS"_s, u"7.␣"_s, true);
    row("recall after clear extends", u"7 MS C MR 3"_s, u"73.␣"_s, true);
    row("recall after operator starts anew", u"7 MS C 2 + MR 3"_s, u"3.␣"_s, true);
    row("recall after operator", u"7 MS C 2 + MR ="_s, u"9.␣"_s, true);
    row("store zero hides M", u"7 MS C MS"_s, u"0.␣"_s);
    row("store signed zero hides M", u"7 MS C +/- MS"_s, u"-0.␣"_s);
    row("clear memory", u"7 MS MC"_s, u"7.␣"_s);
    row("recall cleared memory", u"7 MS MC MR"_s, u"0.␣"_s);
    row("clear keeps memory", u"7 MS C"_s, u"0.␣"_s, true);
    row("add to memory", u"5 M+ C 4 M+ C MR"_s, u"9.␣"_s, true);
    row("memory back to zero hides M", u"5 M+ C 5 +/- M+"_s, u"-5.␣"_s);
    row("memory limit reached", u"999999999999999 M+ C MR"_s, u"999999999999999.␣"_s, true);
    row("memory limit passed", u"999999999999999 M+ M+"_s, u"Error␣"_s, true);
    row("memory unchanged past the limit", u"999999999999999 M+ M+ C MR"_s, u"999999999999999.␣"_s,
        true);
    row("no lower memory limit", u"999999999999999 +/- M+ M+ C MR"_s, u"-2E15.␣"_s, true);
    row("small value recalled in scientific notation", u"0.00005 MS C MR"_s, u"5E-5.␣"_s, true);
    row("operator on scientific notation", u"0.00005 MS C MR +"_s, u"Error␣"_s, true);
    row("store an unreadable display", u"3 MS C 5 +/- Del MS"_s, u"Error␣"_s, true);
    row("memory kept after unreadable store", u"3 MS C 5 +/- Del MS C MR"_s, u"3.␣"_s, true);
    row("add an unreadable display", u"5 +/- Del M+"_s, u"Error␣"_s);

    // The keyboard's characters.
    row("c clears", u"2 + 3 c 4 ="_s, u"4.␣"_s);
    row("C clears", u"9 C"_s, u"0.␣"_s);
    row("e does nothing", u"9 e"_s, u"9.␣"_s);
    row("other characters do nothing", u"9 x ( % M ="_s, u"9.␣"_s);
    row("Enter is equals", u"2 + 3 Enter"_s, u"5.␣"_s);

    // The other separator is just another character.
    QTest::newRow("comma under a point") << QChar(u'.') << u"1,5"_s << shown(u"15.␣"_s) << false;
    QTest::newRow("point under a comma") << QChar(u',') << u"1.5"_s << shown(u"15,␣"_s) << false;
}

void TestCalculator::keys() {
    QFETCH(QChar, separator);
    QFETCH(QString, sequence);
    QFETCH(QString, display);
    QFETCH(bool, memory);
    const qm::Calculator calculator = run(separator, sequence);
    QCOMPARE(calculator.Display, display);
    QCOMPARE(calculator.MemoryIndicator(), memory);
}

// A failing operator leaves the running result and the pending operator as
// they were; a result that cannot be shown has already been taken in.
void TestCalculator::failureKeepsTheRunningResult_data() {
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<double>("accumulator");
    QTest::addColumn<QString>("pending");
    QTest::newRow("division by zero") << u"6 / 0 ="_s << 6.0 << u"/"_s;
    QTest::newRow("unreadable display") << u"6 + 5 +/- Del *"_s << 6.0 << u"+"_s;
    QTest::newRow("result too large") << u"99999999 * 99999999 +"_s << 9999999800000001.0 << u"+"_s;
}

void TestCalculator::failureKeepsTheRunningResult() {
    QFETCH(QString, sequence);
    QFETCH(double, accumulator);
    QFETCH(QString, pending);
    const qm::Calculator calculator = run(u'.', sequence);
    QCOMPARE(calculator.Display, qm::CalculatorError);
    QCOMPARE(calculator.Accumulator, accumulator);
    QCOMPARE(calculator.PendingOperator, pending);
}

// Numbers shown on the display, with either separator.
void TestCalculator::formatting_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100.0 << u"100"_s;
    QTest::newRow("fraction") << -0.5 << u"-0.5"_s;
    QTest::newRow("signed zero") << -0.0 << u"0"_s;
    QTest::newRow("plain at 0.0001") << 0.0001 << u"0.0001"_s;
    QTest::newRow("just above 0.0001") << -0.00012345 << u"-0.00012345"_s;
    QTest::newRow("below 0.0001") << -0.000012345 << u"-1.2345E-5"_s;
    QTest::newRow("1E15") << 1e15 << u"1E15"_s;
    QTest::newRow("rounded to 15 digits") << 123456789012345678.0 << u"1.23456789012346E17"_s;
}

void TestCalculator::formatting() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(qm::FormatGeneral(value, u'.'), text);
    QCOMPARE(qm::FormatGeneral(value, u','), text.replace(u'.', u','));
}

// Display texts read back as numbers; nan marks a text that is not one.
void TestCalculator::reading_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    const double none = std::nan("");
    QTest::newRow("trailing separator and blank") << u"12. "_s << 12.0;
    QTest::newRow("blanks around") << u"  12.5  "_s << 12.5;
    QTest::newRow("leading zero and sign") << u"-05. "_s << -5.0;
    QTest::newRow("exponent") << u"5E-5"_s << 0.00005;
    QTest::newRow("separator after exponent") << u"5E-5. "_s << none;
    QTest::newRow("lone sign") << u"-. "_s << none;
    QTest::newRow("error") << u"Error "_s << none;
    QTest::newRow("empty") << u""_s << none;
    QTest::newRow("out of range") << u"1E400"_s << none;
}

void TestCalculator::reading() {
    QFETCH(QString, text);
    QFETCH(double, value);
    for (QChar separator : {u'.', u','}) {
        const std::optional<double> read =
            qm::ReadNumber(QString(text).replace(u'.', separator), separator);
        QCOMPARE(read.has_value(), !std::isnan(value));
        if (read)
            QCOMPARE(*read, value);
    }
}

QTEST_APPLESS_MAIN(TestCalculator)
#include "tst_calculator.moc"
