#include "notes/RtfCodePages.h"

#include "foundation/Codec1252.h"

namespace qm::rtf {

int CodePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return 437;
    default:
        return 0;
    }
}

namespace {

const char *decoderName(int codePage) {
    switch (codePage) {
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 10000:
        return "macintosh";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    default:
        return nullptr;
    }
}

bool isAscii(const QByteArray &bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

void CodePageDecoder::decode(const QByteArray &bytes, int codePage, QString &text) {
    if (isAscii(bytes)) {
        text += QLatin1StringView(bytes);
        return;
    }
    const char *name = decoderName(codePage);
    if (name) {
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end())
            it = m_decoders.emplace(codePage, QStringDecoder(name, QStringDecoder::Flag::Stateless))
                     .first;
        if (it->second.isValid()) {
            // Some decoders stand in the control character SUB for a byte
            // sequence their code page lacks; text shows U+FFFD for it.
            const qsizetype start = text.size();
            text += it->second.decode(bytes);
            QChar *chars = text.data();
            for (qsizetype i = start; i < text.size(); ++i)
                if (chars[i].unicode() < 0x20 && chars[i] != u'\t')
                    chars[i] = QChar(0xFFFD);
            return;
        }
    }
    text += DecodeCp1252(bytes);
}

} // namespace qm::rtf
