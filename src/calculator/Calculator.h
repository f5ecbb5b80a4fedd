#pragma once

#include <QChar>
#include <QString>

#include <optional>

// A four-function pocket calculator with one memory register. The engine works
// on the text of the display itself: the display is the number being typed,
// and every operation reads its number back from that text, so what the user
// sees is always exactly what is computed with.
namespace qm {

// The display shows "Error " until "C" or "CE".
inline const QString CalculatorError = QStringLiteral("Error ");

// The largest value the memory may reach through "M+".
inline constexpr double MemoryLimit = 999999999999999.0;

// value in general format with 15 significant digits: plain decimal notation
// with separator as the decimal separator (no thousands separators, no
// trailing zeros, no separator for a whole number), or scientific notation
// ("1.5E15", "3.33333333333333E-5") for a magnitude of 1E15 or more and for
// non-zero magnitudes below 0.0001.
QString FormatGeneral(double value, QChar separator);

// The number a display text reads as: blanks around it, an optional sign,
// digits with an optional separator (a trailing separator is fine: "12. "
// reads as 12) and an optional exponent. Anything else, and a text without a
// digit before the exponent ("-. "), reads as nothing.
std::optional<double> ReadNumber(const QString &text, QChar separator);

class Calculator {
public:
    explicit Calculator(QChar decimalSep = u'.') { Reset(decimalSep); }

    // Clears everything, memory included, for the given decimal separator:
    // the state of a freshly started program.
    void Reset(QChar decimalSep);

    // One key: a button's caption ("7", "+/-", "MC", "Del", ...) or a single
    // typed character (Enter as "\r", Backspace as "\b"). Keys that mean
    // nothing here change nothing.
    void CalculatorKey(const QString &key);

    // "0" + DecimalSep + " ": the display after a clear.
    QString Zero() const { return QString(u'0') + DecimalSep + u' '; }
    // The memory indicator "M" is shown exactly when the memory holds a value.
    bool MemoryIndicator() const { return Memory != 0; }

    QChar DecimalSep;
    QString Display;
    // The number being typed has its fraction being typed.
    bool PointEntered = false;
    // The display shows a result: the next digit starts a new number.
    bool NewEntry = false;
    // "+", "-", "*", "/" or empty.
    QString PendingOperator;
    double Accumulator = 0;
    double Memory = 0;

private:
    void clearAll();
    void typeDigit(QChar digit);
    void typePoint();
    void applyOperator(const QString &key);
    void changeSign();
    void deleteDigit();
    void addToMemory();
    void storeInMemory();
    // Puts value on the display with its separator and trailing space.
    void showValue(double value);
    std::optional<double> displayedNumber() const { return ReadNumber(Display, DecimalSep); }
};

} // namespace qm
