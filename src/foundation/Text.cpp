#include "foundation/Text.h"

#include "foundation/Codec1252.h"
#include "foundation/Errors.h"

#include <cmath>

namespace qm {

using namespace Qt::StringLiterals;

QString LeftText(const QString &text, qsizetype n) {
    return n <= 0 ? QString() : text.left(n);
}

QString RightText(const QString &text, qsizetype n) {
    return n <= 0 ? QString() : text.right(n);
}

QString MidText(const QString &text, qsizetype start, qsizetype count) {
    if (start < 1)
        start = 1;
    // Only -1 means "to the end"; any other negative count is an empty range,
    // so a count computed from two positions the wrong way round yields nothing.
    if (count == 0 || count < -1 || start > text.size())
        return {};
    if (count == -1)
        return text.mid(start - 1);
    return text.mid(start - 1, count);
}

qsizetype FindFrom(qsizetype start, const QString &text, const QString &sub) {
    if (start < 1)
        start = 1;
    if (start > text.size())
        return 0;
    const qsizetype index = text.indexOf(sub, start - 1, Qt::CaseSensitive);
    return index < 0 ? 0 : index + 1;
}

qsizetype FindNth(qsizetype n, const QString &text, const QString &sub) {
    qsizetype r = 0;
    for (qsizetype i = 0; i < n; ++i)
        r = FindFrom(r + 1, text, sub);
    return r;
}

QString PadZeros(qint64 number, int width) {
    QString digits = QString::number(number);
    if (digits.size() < width)
        digits.prepend(QString(width - digits.size(), u'0'));
    return digits;
}

QString RepeatText(const QString &text, qsizetype n) {
    return n <= 0 ? QString() : text.repeated(n);
}

bool IsBlank(const QString &text) {
    for (const QChar ch : text)
        if (ch.unicode() > u' ')
            return false;
    return true;
}

QString VarToText(const QVariant &value) {
    return value.isNull() ? QString() : value.toString();
}

namespace {
QString shiftBytes(const QString &text, int delta) {
    QByteArray bytes = EncodeCp1252(text);
    for (char &b : bytes)
        b = static_cast<char>((static_cast<unsigned char>(b) + delta + 256) % 256);
    return DecodeCp1252(bytes);
}
} // namespace

QString ShiftUp(const QString &text) {
    return shiftBytes(text, 4);
}
QString ShiftDown(const QString &text) {
    return shiftBytes(text, -4);
}

double ToNumber(const QVariant &value) {
    if (value.isNull())
        return 0;
    if (value.typeId() != QMetaType::QString)
        return value.toDouble();
    const QString text = value.toString().trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const double number = text.toDouble(&ok);
    // "inf" and "nan" parse, but no field of the program means them as numbers.
    if (!ok || !std::isfinite(number))
        throw ConversionError(u"'"_s + value.toString() + u"' Is Not A Valid Number"_s);
    return number;
}

bool IsNumeric(const QVariant &value) {
    if (value.typeId() != QMetaType::QString)
        return true;
    const QString text = value.toString();
    if (text == u"0"_s || text == u"00"_s || text == u"0.00"_s)
        return true;
    try {
        return ToNumber(value) != 0;
    } catch (const ConversionError &) {
        return false;
    }
}

int TextToInt(const QString &text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace qm
