#pragma once

// The code pages of RTF's 8-bit text. Windows-1252 is decoded by our own
// table (lossless for every byte); the others go through QStringDecoder,
// which knows the Windows and East Asian code pages when Qt is built with
// ICU. Where a decoder is missing the bytes are read as Windows-1252.

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <map>

namespace qm::rtf {

// The code page of a font's \fcharsetN, or 0 for charsets that mean "the
// document's code page" (1, the default charset) or that we do not know.
int CodePageOfCharset(int charset);

class CodePageDecoder {
public:
    // Appends bytes decoded in codePage to text.
    void decode(const QByteArray &bytes, int codePage, QString &text);

private:
    std::map<int, QStringDecoder> m_decoders;
};

} // namespace qm::rtf
