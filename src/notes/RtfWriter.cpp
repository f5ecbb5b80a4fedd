#include "notes/Rtf.h"

#include "foundation/Codec1252.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <algorithm>

namespace qm {

namespace {

// Lines are broken (CR LF, which readers ignore) once they pass this length.
constexpr int LineLength = 200;
constexpr int MaxHalfPoints = 3276;

// A run's formatting as RTF words: font and colour table indexes.
struct RunProps {
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = 0; // 0: the table's "auto" entry
    int background = 0;
    bool operator==(const RunProps &) const = default;
};

class Writer {
public:
    explicit Writer(const QTextDocument &document) : m_default(document.defaultFont()) {
        m_fonts.append(m_default.family());
        m_fontIndex.insert(m_default.family(), 0);
    }
    QByteArray write(const QTextDocument &document);

private:
    RunProps propsOf(const QTextCharFormat &format);
    void writeProps(const RunProps &props);
    void writeText(QStringView text);
    void writeWord(const char *word, int param);
    void raw(const char *bytes);
    void breakLongLine();

    QFont m_default;
    // The tables in order, and each entry's index to find it in constant time.
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndex;
    QByteArray m_out;
    qsizetype m_lineStart = 0;
    bool m_needSpace = false; // a control word just written wants its delimiter
};

QString firstFamily(const QTextCharFormat &format) {
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    if (format.hasProperty(QTextFormat::FontFamily))
        return format.stringProperty(QTextFormat::FontFamily);
    return {};
}

RunProps Writer::propsOf(const QTextCharFormat &format) {
    RunProps props;
    QString family = firstFamily(format);
    if (family.isEmpty())
        family = m_default.family();
    // Font names end at ';' in the font table, so one cannot be part of a name.
    family.remove(u';');
    if (const auto it = m_fontIndex.constFind(family); it != m_fontIndex.cend()) {
        props.font = *it;
    } else {
        props.font = int(m_fonts.size());
        m_fontIndex.insert(family, props.font);
        m_fonts.append(family);
    }
    double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                   : m_default.pointSizeF();
    if (points <= 0)
        points = 12;
    props.halfPoints = std::clamp(qRound(points * 2), 1, MaxHalfPoints);
    props.bold =
        (format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight()
                                                     : int(m_default.weight())) >= QFont::DemiBold;
    props.italic =
        format.hasProperty(QTextFormat::FontItalic) ? format.fontItalic() : m_default.italic();
    if (format.hasProperty(QTextFormat::TextUnderlineStyle))
        props.underline = format.underlineStyle() != QTextCharFormat::NoUnderline;
    else
        props.underline = format.hasProperty(QTextFormat::FontUnderline) ? format.fontUnderline()
                                                                         : m_default.underline();
    props.strike = format.hasProperty(QTextFormat::FontStrikeOut) ? format.fontStrikeOut()
                                                                  : m_default.strikeOut();
    const auto colourIndex = [this](const QBrush &brush) {
        if (brush.style() == Qt::NoBrush)
            return 0;
        const QRgb rgb = brush.color().rgb();
        auto it = m_colourIndex.constFind(rgb);
        if (it == m_colourIndex.cend()) {
            it = m_colourIndex.insert(rgb, int(m_colours.size()));
            m_colours.append(rgb);
        }
        return *it + 1;
    };
    props.foreground = colourIndex(format.foreground());
    props.background = colourIndex(format.background());
    return props;
}

void Writer::raw(const char *bytes) {
    m_out += bytes;
}

void Writer::writeWord(const char *word, int param) {
    m_out += word;
    m_out += QByteArray::number(param);
}

void Writer::breakLongLine() {
    if (m_out.size() - m_lineStart >= LineLength) {
        m_out += "\r\n";
        m_lineStart = m_out.size();
    }
}

// Every run restates its whole formatting after \plain: longer than a
// difference, but a reader that misses one word cannot carry it further.
void Writer::writeProps(const RunProps &props) {
    breakLongLine();
    writeWord("\\plain\\f", props.font);
    writeWord("\\fs", props.halfPoints);
    if (props.bold)
        raw("\\b");
    if (props.italic)
        raw("\\i");
    if (props.underline)
        raw("\\ul");
    if (props.strike)
        raw("\\strike");
    if (props.foreground)
        writeWord("\\cf", props.foreground);
    if (props.background)
        writeWord("\\highlight", props.background);
    m_needSpace = true;
}

void Writer::writeText(QStringView text) {
    if (m_needSpace && !text.isEmpty()) {
        m_out += ' ';
        m_needSpace = false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        breakLongLine();
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c < 0x7F) {
            if (c == u'\\' || c == u'{' || c == u'}')
                m_out += '\\';
            m_out += char(c);
            continue;
        }
        switch (c) {
        case u'\t':
            raw("\\tab ");
            continue;
        case QChar::LineSeparator:
            raw("\\line ");
            continue;
        case 0x00A0:
            raw("\\~");
            continue;
        case 0x00AD:
            raw("\\-");
            continue;
        case 0x2011:
            raw("\\_");
            continue;
        case QChar::ObjectReplacementCharacter: // pictures and other objects: not kept
        case 0xFDD0:                            // frame markers
        case 0xFDD1:
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        // The C1 controls that stand for the code page's undefined bytes go as
        // \u: other readers may take those bytes for nothing.
        if ((c < 0x80 || c >= 0xA0) && IsCp1252Representable(text.mid(i, 1))) {
            static constexpr char Hex[] = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(EncodeCp1252(text.mid(i, 1)).at(0));
            const char escape[] = {'\\', '\'', Hex[byte >> 4], Hex[byte & 15], 0};
            raw(escape);
            continue;
        }
        // \u takes a signed 16-bit number; '?' stands in for readers without it.
        writeWord("\\u", int(static_cast<int16_t>(c)));
        m_out += '?';
    }
}

QByteArray Writer::write(const QTextDocument &document) {
    RunProps current;
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        raw("\\pard");
        const Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignHCenter)
            raw("\\qc");
        else if (align & Qt::AlignJustify)
            raw("\\qj");
        else if (align & Qt::AlignRight)
            raw("\\qr");
        else
            raw("\\ql");
        m_needSpace = true;
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const RunProps props = propsOf(fragment.charFormat());
            if (first || props != current) {
                writeProps(props);
                current = props;
                first = false;
            }
            writeText(fragment.text());
        }
        raw("\\par\r\n");
        m_needSpace = false;
        m_lineStart = m_out.size();
    }
    const QByteArray body = std::exchange(m_out, {});
    m_lineStart = 0;

    raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        breakLongLine();
        writeWord("{\\f", int(i));
        raw("\\fnil\\fcharset0");
        m_needSpace = true;
        writeText(m_fonts.at(i));
        raw(";}");
    }
    raw("}\r\n{\\colortbl;");
    for (const QRgb rgb : std::as_const(m_colours)) {
        breakLongLine();
        writeWord("\\red", qRed(rgb));
        writeWord("\\green", qGreen(rgb));
        writeWord("\\blue", qBlue(rgb));
        raw(";");
    }
    raw("}\r\n");
    m_out += body;
    raw("}\r\n");
    return m_out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument &document) {
    return Writer(document).write(document);
}

} // namespace qm
