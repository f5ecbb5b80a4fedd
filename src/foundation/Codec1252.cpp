#include "foundation/Codec1252.h"

#include <array>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the undefined bytes map to
// the C1 control of the same value.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The byte for a character, or -1 when Windows-1252 has none.
int byteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (HighControls[i] == c)
            return 0x80 + i;
    return -1;
}

} // namespace

QString DecodeCp1252(const QByteArray &bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : char16_t(b));
    }
    return text;
}

QByteArray EncodeCp1252(QStringView text, bool *ok) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    bool allMapped = true;
    for (const QChar ch : text) {
        const int b = byteFor(ch.unicode());
        allMapped = allMapped && b >= 0;
        *out++ = static_cast<char>(b < 0 ? '?' : b);
    }
    if (ok)
        *ok = allMapped;
    return bytes;
}

QString UpperCaseCp1252(QStringView text) {
    QString upper = text.toString();
    for (QChar &ch : upper) {
        const char16_t c = ch.unicode();
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
            ch = QChar(char16_t(c - 0x20));
        else if (c == 0x0161 || c == 0x0153 || c == 0x017E) // š œ ž
            ch = QChar(char16_t(c - 1));
        else if (c == 0x00FF) // ÿ
            ch = QChar(char16_t(0x0178));
    }
    return upper;
}

// The undefined bytes count: text read from a file must save back as it was.
bool IsCp1252Representable(QStringView text) {
    for (const QChar ch : text)
        if (byteFor(ch.unicode()) < 0)
            return false;
    return true;
}

namespace {
bool canStore(QStringView text, bool separatorAllowed, const QString &fieldName, QString *reason) {
    QString why;
    if (!separatorAllowed && text.contains(FieldSeparator))
        why = fieldName + u" Cannot Contain The Character \u00FF"_s;
    else if (text.contains(u'\r') || text.contains(u'\n'))
        why = fieldName + u" Cannot Contain A Line Break"_s;
    else if (!IsCp1252Representable(text))
        why = fieldName + u" Contains Characters That Cannot Be Saved"_s;
    if (why.isEmpty())
        return true;
    if (reason)
        *reason = why;
    return false;
}
} // namespace

bool CanStoreInField(QStringView text, const QString &fieldName, QString *reason) {
    return canStore(text, false, fieldName, reason);
}

bool CanStoreInLastField(QStringView text, const QString &fieldName, QString *reason) {
    return canStore(text, true, fieldName, reason);
}

} // namespace qm
