#include "calculator/Calculator.h"

#include "foundation/Text.h"

#include <QLocale>

#include <cmath>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// A typed number has at most 15 digits: the display (separator and trailing
// space included) takes a digit only while it is shorter than this.
constexpr qsizetype DisplayLimit = 17;
constexpr int SignificantDigits = 15;

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isOperator(const QString &key) {
    return key == u"+"_s || key == u"-"_s || key == u"*"_s || key == u"/"_s || key == u"="_s;
}

} // namespace

QString FormatGeneral(double value, QChar separator) {
    // Negative zero shows as zero, as it does on a pocket calculator.
    if (value == 0 || !std::isfinite(value))
        return u"0"_s;
    // Rounding to 15 digits first decides the notation: 999999999999999.5
    // rounds up to 1E15.
    QString scientific = QString::number(value, 'e', SignificantDigits - 1);
    const bool negative = scientific.startsWith(u'-');
    if (negative)
        scientific.remove(0, 1);
    const qsizetype e = scientific.indexOf(u'e');
    QString digits = scientific.left(e).remove(u'.');
    const int exponent = scientific.mid(e + 1).toInt();
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString text;
    if (exponent >= SignificantDigits || exponent < -4) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += separator + digits.mid(1);
        text += u'E' + QString::number(exponent);
    } else if (exponent >= 0) {
        const qsizetype whole = exponent + 1;
        text = digits.size() <= whole ? digits + QString(whole - digits.size(), u'0')
                                      : digits.left(whole) + separator + digits.mid(whole);
    } else {
        text = u'0' + QString(separator) + QString(-exponent - 1, u'0') + digits;
    }
    return negative ? u'-' + text : text;
}

std::optional<double> ReadNumber(const QString &text, QChar separator) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && text.at(i) == u' ')
            ++i;
    };
    // Copies a run of digits into normal; returns how many there were.
    QString normal;
    const auto takeDigits = [&] {
        const qsizetype start = i;
        while (i < n && isDigit(text.at(i)))
            normal += text.at(i++);
        return i - start;
    };
    const auto takeSign = [&] {
        if (i < n && (text.at(i) == u'-' || text.at(i) == u'+'))
            normal += text.at(i++);
    };

    skipBlanks();
    takeSign();
    normal += u'0'; // so that "-.5" and "5." read as the C conversion expects
    qsizetype digits = takeDigits();
    if (i < n && text.at(i) == separator) {
        ++i;
        normal += u'.';
        digits += takeDigits();
        normal += u'0';
    }
    if (digits == 0)
        return std::nullopt;
    if (i < n && (text.at(i) == u'E' || text.at(i) == u'e')) {
        ++i;
        normal += u'e';
        takeSign();
        if (takeDigits() == 0)
            return std::nullopt;
    }
    skipBlanks();
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = QLocale::c().toDouble(normal, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

void Calculator::Reset(QChar decimalSep) {
    DecimalSep = decimalSep;
    clearAll();
    NewEntry = false;
    Memory = 0;
}

void Calculator::CalculatorKey(const QString &typed) {
    QString key = typed;
    if (key.toUpper() == u"C"_s || (key == u"CE"_s && Display == CalculatorError))
        clearAll();
    if (key == u"CE"_s) {
        Display = Zero();
        PointEntered = false;
    }
    if (Display == CalculatorError)
        return;
    if (key == u"\r"_s)
        key = u"="_s;

    if (key.size() == 1 && isDigit(key.at(0)))
        typeDigit(key.at(0));
    if (key == QString(DecimalSep) && !PointEntered)
        typePoint();
    if (isOperator(key))
        applyOperator(key);
    if (key == u"+/-"_s)
        changeSign();
    if ((key == u"Del"_s || key.startsWith(u'\b')) && !NewEntry)
        deleteDigit();
    if (key == u"MC"_s)
        Memory = 0;
    if (key == u"M+"_s)
        addToMemory();
    if (key == u"MR"_s)
        showValue(Memory);
    if (key == u"MS"_s)
        storeInMemory();
}

void Calculator::clearAll() {
    Display = Zero();
    PointEntered = false;
    PendingOperator.clear();
    Accumulator = 0;
}

void Calculator::typeDigit(QChar digit) {
    if (NewEntry) {
        Display.clear();
        NewEntry = false;
        PointEntered = false;
    }
    if (Display.size() >= DisplayLimit)
        return;
    // A leading zero is replaced, unless the fraction has begun ("0.5") or
    // the zero carries a sign ("-05." reads as -5).
    if (Display == Zero() && !PointEntered)
        Display = u" "_s;
    // A whole number's digits go before its separator, fraction digits after
    // the last one.
    if (!PointEntered)
        Display = LeftText(Display, Display.size() - 2) + digit + DecimalSep;
    else
        Display = LeftText(Display, Display.size() - 1) + digit;
    Display += u' ';
}

void Calculator::typePoint() {
    // A whole number already shows its separator: only what the next digit
    // does changes.
    if (NewEntry) {
        Display = Zero();
        NewEntry = false;
    }
    PointEntered = true;
}

void Calculator::applyOperator(const QString &key) {
    // No precedence: the pending operation is applied to the displayed number
    // and the key becomes the pending one. A failure leaves the running result
    // and the pending operator as they were.
    const std::optional<double> shown = displayedNumber();
    if (!shown) {
        Display = CalculatorError;
        return;
    }
    const double d = *shown;
    // 0/0 as well as any other division by zero.
    const bool divisionByZero = PendingOperator == u"/"_s && d == 0;
    double result = d;
    if (PendingOperator == u"+"_s)
        result = Accumulator + d;
    else if (PendingOperator == u"-"_s)
        result = Accumulator - d;
    else if (PendingOperator == u"*"_s)
        result = d * Accumulator;
    else if (PendingOperator == u"/"_s && !divisionByZero)
        result = Accumulator / d;
    if (divisionByZero || !std::isfinite(result)) {
        Display = CalculatorError;
        return;
    }
    Accumulator = result;
    PendingOperator = key == u"="_s ? QString() : key;
    showValue(Accumulator);
    NewEntry = true;
    // A result too large or too small for 15 plain digits is not shown.
    if (Display.contains(u'E'))
        Display = CalculatorError;
}

void Calculator::changeSign() {
    if (Display.startsWith(u'-'))
        Display.remove(0, 1);
    else
        Display.prepend(u'-');
}

void Calculator::deleteDigit() {
    const QString wholeEnd = QString(DecimalSep) + u' ';
    PointEntered = RightText(Display, 2) != wholeEnd;
    if (!PointEntered)
        Display = LeftText(Display, Display.size() - 3) + wholeEnd;
    else
        Display = LeftText(Display, Display.size() - 2) + u' ';
    if (Display.size() <= 2)
        Display = Zero();
}

void Calculator::addToMemory() {
    const std::optional<double> shown = displayedNumber();
    const double total = shown ? *shown + Memory : 0;
    if (!shown || !std::isfinite(total) || total > MemoryLimit) {
        Display = CalculatorError;
        return;
    }
    Memory = total;
}

void Calculator::storeInMemory() {
    // An unreadable display ("-. ") shows the error like any other key
    // would, and the memory keeps its value.
    const std::optional<double> shown = displayedNumber();
    if (!shown) {
        Display = CalculatorError;
        return;
    }
    Memory = *shown;
}

void Calculator::showValue(double value) {
    Display = FormatGeneral(value, DecimalSep);
    if (!Display.contains(DecimalSep)) {
        Display += DecimalSep;
        PointEntered = false;
    } else {
        PointEntered = true;
    }
    Display += u' ';
}

} // namespace qm
