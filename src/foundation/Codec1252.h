#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace qm {

// Record files are Windows-1252 on every platform so a data folder moves
// between systems unchanged. Decoding is lossless for every byte: the five
// bytes Windows-1252 leaves undefined decode to the C1 control of the same
// value and encode back to it, so odd lines survive a read and a rewrite.
QString DecodeCp1252(const QByteArray &bytes);
// A character without a byte becomes '?' and clears *ok (when given); writers
// refuse such text rather than store it altered.
QByteArray EncodeCp1252(QStringView text, bool *ok = nullptr);

// Capitals as Windows-1252 has them: a to z, à to þ (not ÷), š, œ, ž and ÿ
// become their capitals; every other character stays as it is, µ and ß (which
// have no capital in the code page) and characters outside it among them.
// Typed text that is stored in the code page is capitalised with this, never
// with Unicode's rules, which would turn µ into a Greek letter that cannot be
// stored.
QString UpperCaseCp1252(QStringView text);

// True when every character of text has a byte in Windows-1252, the C1
// controls that stand for its five undefined bytes included.
bool IsCp1252Representable(QStringView text);

// The record field separator: the byte 0xFF, U+00FF in a QString.
inline constexpr QChar FieldSeparator = QChar(0x00FF);

// Whether text may be stored in one field of a record file. When it may not,
// reason (when given) receives a sentence saying why, in title case, without
// a trailing "\r"; fieldName names the field in that sentence.
bool CanStoreInField(QStringView text, const QString &fieldName, QString *reason = nullptr);
// The same for the last field of a line, which may hold the separator: it is
// read as everything after the separator before it.
bool CanStoreInLastField(QStringView text, const QString &fieldName, QString *reason = nullptr);

} // namespace qm
