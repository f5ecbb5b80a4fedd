#pragma once

#include <QString>
#include <QVariant>

// Text and number helpers. Record lines are cut apart and built with these, so
// their behaviour at the edges (positions, counts, empty texts) is part of the
// file formats. Positions are 1-based.
namespace qm {

// The first n characters; n past the length: the whole text; n <= 0: empty.
QString LeftText(const QString &text, qsizetype n);
// The last n characters; n past the length: the whole text; n <= 0: empty.
QString RightText(const QString &text, qsizetype n);
// count characters from start (count -1: to the end, any other negative count:
// empty); cut at the end. A start below 1 counts as 1.
QString MidText(const QString &text, qsizetype start, qsizetype count = -1);
// Smallest position >= start where sub occurs (case-sensitive), 0 if none.
qsizetype FindFrom(qsizetype start, const QString &text, const QString &sub);
// Repeats n times r := FindFrom(r + 1, text, sub) from r = 0: the position of
// the n-th occurrence for n up to the number of occurrences, 0 for n <= 0.
// Past the last occurrence the search starts again from the beginning.
qsizetype FindNth(qsizetype n, const QString &text, const QString &sub);
// Decimal text of number, zero-padded on the left to width characters.
QString PadZeros(qint64 number, int width);
QString RepeatText(const QString &text, qsizetype n);
// Empty after removing leading and trailing spaces and control characters.
bool IsBlank(const QString &text);
// A null value gives the empty text, anything else its text form.
QString VarToText(const QVariant &value);
// Every character code raised (lowered) by 4, modulo 256: the stored form of
// the login password. Codes are Windows-1252 bytes.
QString ShiftUp(const QString &text);
QString ShiftDown(const QString &text);

// A null value or empty text gives 0; a text that is not a number raises
// ConversionError. Numbers are written with "." as the decimal point.
double ToNumber(const QVariant &value);
// For a text: true for "0", "00" and "0.00", otherwise true exactly when
// ToNumber succeeds with a non-zero value. A value that is not a text is numeric.
bool IsNumeric(const QVariant &value);
// The integer value of a text, or fallback when it is not a whole number
// (surrounding blanks allowed).
int TextToInt(const QString &text, int fallback = 0);

} // namespace qm
