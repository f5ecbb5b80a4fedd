#include "exchange/VCard.h"

#include "foundation/Codec1252.h"
#include "foundation/RecordFile.h"

#include <QStringDecoder>

#include <cstring>

namespace qm {

namespace {

bool SameLetters(QByteArrayView a, QByteArrayView b) {
    return a.size() == b.size() && qstrnicmp(a.data(), b.data(), a.size()) == 0;
}

// Whether the name and parameters of a line (up to its first ':') ask for
// quoted-printable, whose soft line breaks join the next line to it.
bool HeadSaysQuotedPrintable(QByteArrayView line) {
    static constexpr QByteArrayView Marker("QUOTED-PRINTABLE");
    const qsizetype colon = line.indexOf(':');
    const QByteArrayView head = colon < 0 ? line : line.first(colon);
    for (qsizetype i = 0; i + Marker.size() <= head.size(); ++i) {
        if ((head[i] == 'Q' || head[i] == 'q') &&
            SameLetters(head.sliced(i, Marker.size()), Marker))
            return true;
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A code that is not two hex digits is kept as written.
QByteArray DecodeQuotedPrintable(QByteArrayView value, bool &broken) {
    QByteArray out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '=') {
            const int high = i + 1 < value.size() ? HexDigit(value[i + 1]) : -1;
            const int low = i + 2 < value.size() ? HexDigit(value[i + 2]) : -1;
            if (high >= 0 && low >= 0) {
                out.append(char(high * 16 + low));
                i += 2;
                continue;
            }
            broken = true;
        }
        out.append(c);
    }
    return out;
}

QString DecodeUtf8Or1252(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return DecodeCp1252(bytes.toByteArray());
    return text;
}

// The value's text in the character set it names. The Latin-1 names are read
// as Windows-1252, which most producers that name it actually write.
QString DecodeCharset(QByteArrayView bytes, QByteArrayView charset, ImportNotes &notes) {
    if (charset.isEmpty() || SameLetters(charset, "UTF-8") || SameLetters(charset, "UTF8"))
        return DecodeUtf8Or1252(bytes);
    static constexpr QByteArrayView Western[] = {"ISO-8859-1", "ISO8859-1",    "LATIN1",
                                                 "ISO_8859-1", "WINDOWS-1252", "CP1252",
                                                 "US-ASCII",   "ASCII"};
    for (const QByteArrayView name : Western)
        if (SameLetters(charset, name))
            return DecodeCp1252(bytes.toByteArray());
    QStringDecoder decoder(charset.toByteArray().constData());
    if (!decoder.isValid()) {
        notes.add(ContactText::UnknownCharsets);
        return DecodeUtf8Or1252(bytes);
    }
    return decoder.decode(bytes);
}

bool IsNameByte(char c) {
    return c != ';' && c != ':';
}

// Parses one unfolded line; false when it is not a content line.
bool ParseLine(QByteArrayView line, VCardProperty &property, ImportNotes &notes) {
    qsizetype i = 0;
    while (i < line.size() && IsNameByte(line[i]))
        ++i;
    if (i == line.size())
        return false;
    QByteArrayView name = line.first(i).trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        property.group = name.first(dot).toByteArray();
        name = name.sliced(dot + 1);
    }
    if (name.isEmpty())
        return false;
    property.name = name.toByteArray().toUpper();

    QByteArrayView encoding, charset;
    while (i < line.size() && line[i] == ';') {
        ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != '=' && line[i] != ';' && line[i] != ':')
            ++i;
        if (i == line.size())
            return false;
        const QByteArray paramName =
            line.sliced(start, i - start).trimmed().toByteArray().toUpper();
        if (line[i] != '=') {
            // A bare parameter of version 2.1: a type, or the encoding.
            if (paramName == "QUOTED-PRINTABLE" || paramName == "BASE64" || paramName == "8BIT" ||
                paramName == "7BIT")
                property.params.append({QByteArrayLiteral("ENCODING"), paramName});
            else if (!paramName.isEmpty())
                property.params.append({QByteArrayLiteral("TYPE"), paramName});
            continue;
        }
        ++i;
        for (;;) {
            QByteArrayView value;
            if (i < line.size() && line[i] == '"') {
                const qsizetype close = line.indexOf('"', i + 1);
                if (close < 0)
                    return false;
                value = line.sliced(i + 1, close - i - 1);
                i = close + 1;
                while (i < line.size() && line[i] != ',' && line[i] != ';' && line[i] != ':')
                    ++i;
            } else {
                const qsizetype start = i;
                while (i < line.size() && line[i] != ',' && line[i] != ';' && line[i] != ':')
                    ++i;
                value = line.sliced(start, i - start).trimmed();
            }
            if (i == line.size())
                return false;
            if (!value.isEmpty())
                property.params.append({paramName, value.toByteArray()});
            if (line[i] != ',')
                break;
            ++i;
        }
    }
    // line[i] is the ':' before the value.
    for (const auto &param : std::as_const(property.params)) {
        if (param.first == "ENCODING" && encoding.isEmpty())
            encoding = param.second;
        else if (param.first == "CHARSET" && charset.isEmpty())
            charset = param.second;
    }
    const QByteArrayView raw = line.sliced(i + 1);
    if (SameLetters(encoding, "B") || SameLetters(encoding, "BASE64")) {
        property.binary = true;
    } else if (SameLetters(encoding, "QUOTED-PRINTABLE")) {
        bool broken = false;
        const QByteArray bytes = DecodeQuotedPrintable(raw, broken);
        if (broken)
            notes.add(ContactText::BrokenQuotedPrintable);
        property.value = DecodeCharset(bytes, charset, notes);
    } else {
        property.value = DecodeCharset(raw, charset, notes);
    }
    return true;
}

// BEGIN:VCARD or END:VCARD.
bool IsBoundary(const VCardProperty &property, QByteArrayView which) {
    return property.name == which && property.group.isEmpty() &&
           property.value.trimmed().compare(u"VCARD", Qt::CaseInsensitive) == 0;
}

// Cuts the bytes into cards as the unfolded lines come.
class CardCollector {
public:
    explicit CardCollector(VCardFile &file) : m_file(file) {}

    void take(QByteArrayView line) {
        if (line.trimmed().isEmpty())
            return;
        VCardProperty property;
        const bool parsed = ParseLine(line, property, m_scratchNotes);
        const bool previousWasAgent = m_previousWasAgent;
        m_previousWasAgent = false;
        if (parsed && IsBoundary(property, "BEGIN")) {
            m_file.anyCard = true;
            if (m_depth == 0) {
                open();
            } else if (previousWasAgent || m_depth > 1) {
                // An agent's card, inside this one: not a contact of its own.
                ++m_depth;
            } else {
                // A new card before the end of the last: that one was cut short.
                close(true);
                open();
            }
            return;
        }
        if (m_depth == 0)
            return;
        if (parsed && IsBoundary(property, "END")) {
            if (--m_depth == 0)
                close(false);
            return;
        }
        if (m_depth > 1)
            return;
        if (!parsed) {
            m_file.notes.add(ContactText::LinesNotRead);
            return;
        }
        m_file.notes.merge(m_scratchNotes);
        m_scratchNotes = {};
        if (property.name == "VERSION")
            m_card.version21 = property.value.trimmed() == u"2.1";
        m_previousWasAgent = property.name == "AGENT" && property.value.trimmed().isEmpty();
        m_card.properties.append(std::move(property));
    }

    void finish() {
        if (m_depth > 0)
            close(true);
    }

private:
    void open() {
        m_depth = 1;
        m_card = {};
        m_scratchNotes = {};
    }
    void close(bool cutShort) {
        m_depth = 0;
        bool hasData = false;
        for (const VCardProperty &property : std::as_const(m_card.properties))
            hasData = hasData || property.name != "VERSION";
        if (cutShort && hasData)
            m_file.notes.add(ContactText::CardsCutShort);
        if (hasData || !cutShort)
            m_file.cards.append(std::move(m_card));
        m_card = {};
    }

    VCardFile &m_file;
    VCardCard m_card;
    // Notes of the line being parsed, kept only when it belongs to a card.
    ImportNotes m_scratchNotes;
    int m_depth = 0;
    bool m_previousWasAgent = false;
};

} // namespace

bool VCardProperty::hasType(QByteArrayView type) const {
    for (const auto &param : params)
        if (param.first == "TYPE" && SameLetters(param.second, type))
            return true;
    return false;
}

QByteArray VCardProperty::param(QByteArrayView wanted) const {
    for (const auto &param : params)
        if (param.first == wanted)
            return param.second;
    return {};
}

int VCardProperty::preference() const {
    if (hasType("PREF"))
        return 1;
    bool ok = false;
    const int pref = param("PREF").toInt(&ok);
    return ok && pref >= 1 && pref <= 100 ? pref : 101;
}

VCardFile ReadVCards(QByteArrayView bytes) {
    VCardFile file;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    CardCollector collector(file);

    // The logical line being gathered: a view of the input while it is one
    // physical line, a copy once a continuation is joined to it.
    QByteArrayView current;
    QByteArray joined;
    bool isJoined = false, have = false, quotedPrintable = false;
    auto logical = [&]() -> QByteArrayView { return isJoined ? QByteArrayView(joined) : current; };
    auto softBreak = [&] { return quotedPrintable && logical().endsWith('='); };

    LineCutter lines(bytes);
    while (lines.next()) {
        const QByteArrayView text = lines.text();
        if (have && (softBreak() || (!text.isEmpty() && (text[0] == ' ' || text[0] == '\t')))) {
            const bool soft = softBreak();
            if (!isJoined) {
                joined = current.toByteArray();
                isJoined = true;
            }
            if (soft) {
                joined.chop(1);
                joined.append(text);
            } else {
                joined.append(text.sliced(1));
            }
            continue;
        }
        if (have)
            collector.take(logical());
        current = text;
        isJoined = false;
        joined.clear();
        have = true;
        quotedPrintable = HeadSaysQuotedPrintable(text);
    }
    if (have)
        collector.take(logical());
    collector.finish();
    return file;
}

QString UnescapeVCardText(QStringView value, bool version21) {
    if (!value.contains(u'\\'))
        return value.toString();
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value[i + 1];
        if (version21) {
            if (next == u';')
                ++i;
            out.append(next == u';' ? next : c);
            continue;
        }
        ++i;
        if (next == u'n' || next == u'N')
            out.append(u'\n');
        else if (next == u'\\' || next == u',' || next == u';' || next == u':')
            out.append(next);
        else
            out.append(c).append(next);
    }
    return out;
}

QStringList SplitVCardValue(QStringView value, QChar separator, bool version21) {
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size() && (!version21 || value[i + 1] == u';')) {
            ++i;
        } else if (c == separator) {
            parts.append(UnescapeVCardText(value.sliced(start, i - start), version21));
            start = i + 1;
        }
    }
    parts.append(UnescapeVCardText(value.sliced(start), version21));
    return parts;
}

QString EscapeVCardText(QStringView text) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u',' || c == u';') {
            out.append(u'\\').append(c);
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out.append(u"\\n");
        } else {
            out.append(c);
        }
    }
    return out;
}

void VCardWriter::beginCard() {
    line("BEGIN:VCARD");
    line("VERSION:3.0");
}

void VCardWriter::property(QByteArrayView nameAndParams, const QString &value) {
    QByteArray text = nameAndParams.toByteArray();
    text.append(':').append(value.toUtf8());
    line(text);
}

void VCardWriter::endCard() {
    line("END:VCARD");
}

void VCardWriter::line(QByteArrayView text) {
    // 75 octets a line, the leading space of a continuation included; a cut
    // never falls before a UTF-8 continuation byte.
    constexpr qsizetype Width = 75;
    qsizetype start = 0;
    bool first = true;
    while (text.size() - start > (first ? Width : Width - 1)) {
        qsizetype end = start + (first ? Width : Width - 1);
        while (end > start + 1 && (uchar(text[end]) & 0xC0) == 0x80)
            --end;
        if (!first)
            m_bytes.append(' ');
        m_bytes.append(text.sliced(start, end - start)).append("\r\n");
        start = end;
        first = false;
    }
    if (!first)
        m_bytes.append(' ');
    m_bytes.append(text.sliced(start)).append("\r\n");
}

} // namespace qm
