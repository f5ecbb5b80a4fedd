#include "notes/Rtf.h"

#include "foundation/Codec1252.h"
#include "notes/RtfCodePages.h"
#include "notes/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace qm {

using namespace Qt::StringLiterals;

namespace {

using namespace rtf;

// Deeper nesting than this is no document anyone wrote: groups beyond it are
// not kept apart, their text is read in the deepest kept group's formatting.
constexpr size_t MaxDepth = 10000;
constexpr int DefaultHalfPoints = 24;
// The largest \fs word processors accept (1638 pt); \uc beyond a few is noise.
constexpr int MaxHalfPoints = 3276;
constexpr int MaxFallback = 16;

constexpr char16_t ReplacementChar = 0xFFFD;

// The document's table of formats hashes a list of font families by its type
// alone, so runs differing only in their font would all share one hash, and
// every new one would be compared with all before it: a file of many fonts
// would take time growing with their square. The family as a plain string
// under a property of our own gives each font its own hash; nothing else
// reads it.
constexpr int FamilyHashProperty = QTextFormat::UserProperty + 1;

// What the current group's text is: the document's text, or a table read
// into the reader's state, or something skipped whole.
enum class Dest { Text, Skip, FontTable, ColourTable };

enum class Align { Left, Centre, Right, Justify };

struct CharProps {
    int font = -1; // font number; -1 is \deff's font
    int halfPoints = DefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int foreground = -1; // colour table indexes
    int highlight = -1;  // \highlight and \chcbpat
    int shading = -1;    // \cb, which a highlight covers
    bool operator==(const CharProps &) const = default;
};

size_t qHash(const CharProps &p, size_t seed = 0) {
    return qHashMulti(seed, p.font, p.halfPoints, p.bold, p.italic, p.underline, p.strike,
                      p.foreground, p.highlight, p.shading);
}

// Everything a group saves and its closing brace restores.
struct GroupState {
    CharProps chars;
    Align align = Align::Left;
    int fallback = 1; // \ucN
    Dest dest = Dest::Text;
};

enum class W {
    Ansi,
    AnsiCpg,
    Blue,
    Bold,
    Bullet,
    Cb,
    Cell,
    Cf,
    Chcbpat,
    ColourTable,
    Cpg,
    Deff,
    Emdash,
    Emspace,
    Endash,
    Enspace,
    Font,
    FontCharset,
    FontSize,
    FontTable,
    Green,
    Highlight,
    Ignore, // known only for what it says is lost
    Italic,
    Ldblquote,
    Line,
    Lquote,
    Ltrmark,
    Mac,
    Par,
    Break, // \page and \sect: they end the paragraph unless a mark just ended it
    Pard,
    Pc,
    Pca,
    Plain,
    Qc,
    Qj,
    Ql,
    Qmspace,
    Qr,
    Rdblquote,
    Red,
    Row,
    Rquote,
    Rtlmark,
    Skip, // a destination whose content is not text
    Strike,
    StrikeDouble,
    Tab,
    Unicode,
    UnicodeFallback,
    Underline,
    UnderlineNone,
    Zwj,
    Zwnj,
};

struct WordEntry {
    std::string_view name;
    W word;
    RtfLoss lost = RtfLoss::Nothing; // what reading past the word drops
};

// Sorted by name for the binary search; the static_assert below keeps it so.
constexpr WordEntry Words[] = {
    {"aftncn", W::Skip},
    {"aftnsep", W::Skip},
    {"aftnsepc", W::Skip},
    {"annotation", W::Skip, RtfLoss::Comments},
    {"ansi", W::Ansi},
    {"ansicpg", W::AnsiCpg},
    {"atnauthor", W::Skip, RtfLoss::Comments},
    {"atnid", W::Skip, RtfLoss::Comments},
    {"author", W::Skip},
    {"b", W::Bold},
    {"bkmkend", W::Skip, RtfLoss::Bookmarks},
    {"bkmkstart", W::Skip, RtfLoss::Bookmarks},
    {"blue", W::Blue},
    {"bullet", W::Bullet},
    {"buptim", W::Skip},
    {"cb", W::Cb},
    {"cell", W::Cell, RtfLoss::Tables},
    {"cf", W::Cf},
    {"chcbpat", W::Chcbpat},
    {"colortbl", W::ColourTable},
    {"comment", W::Skip},
    {"company", W::Skip},
    {"cpg", W::Cpg},
    {"creatim", W::Skip},
    {"datafield", W::Skip, RtfLoss::Fields},
    {"datastore", W::Skip},
    {"deff", W::Deff},
    {"doccomm", W::Skip},
    {"docvar", W::Skip},
    {"emdash", W::Emdash},
    {"emspace", W::Emspace},
    {"endash", W::Endash},
    {"enspace", W::Enspace},
    {"f", W::Font},
    {"fcharset", W::FontCharset},
    {"field", W::Ignore, RtfLoss::Fields},
    {"fldinst", W::Skip, RtfLoss::Fields},
    {"fonttbl", W::FontTable},
    {"footer", W::Skip, RtfLoss::HeadersAndFooters},
    {"footerf", W::Skip, RtfLoss::HeadersAndFooters},
    {"footerl", W::Skip, RtfLoss::HeadersAndFooters},
    {"footerr", W::Skip, RtfLoss::HeadersAndFooters},
    {"footnote", W::Skip, RtfLoss::Footnotes},
    {"fs", W::FontSize},
    {"ftncn", W::Skip},
    {"ftnsep", W::Skip},
    {"ftnsepc", W::Skip},
    {"generator", W::Skip},
    {"green", W::Green},
    {"header", W::Skip, RtfLoss::HeadersAndFooters},
    {"headerf", W::Skip, RtfLoss::HeadersAndFooters},
    {"headerl", W::Skip, RtfLoss::HeadersAndFooters},
    {"headerr", W::Skip, RtfLoss::HeadersAndFooters},
    {"highlight", W::Highlight},
    {"i", W::Italic},
    {"info", W::Skip},
    {"intbl", W::Ignore, RtfLoss::Tables},
    {"keywords", W::Skip},
    {"latentstyles", W::Skip},
    {"ldblquote", W::Ldblquote},
    {"line", W::Line},
    {"listoverridetable", W::Skip},
    {"listtable", W::Skip},
    {"lquote", W::Lquote},
    {"ltrmark", W::Ltrmark},
    {"mac", W::Mac},
    {"nestcell", W::Cell, RtfLoss::Tables},
    {"nestrow", W::Row, RtfLoss::Tables},
    {"nonshppict", W::Skip, RtfLoss::Pictures},
    {"object", W::Skip, RtfLoss::Objects},
    {"operator", W::Skip},
    {"page", W::Break},
    {"par", W::Par},
    {"pard", W::Pard},
    {"pc", W::Pc},
    {"pca", W::Pca},
    {"pict", W::Skip, RtfLoss::Pictures},
    {"plain", W::Plain},
    {"pn", W::Skip},
    {"printim", W::Skip},
    {"private", W::Skip},
    {"qc", W::Qc},
    {"qd", W::Qj},
    {"qj", W::Qj},
    {"ql", W::Ql},
    {"qmspace", W::Qmspace},
    {"qr", W::Qr},
    {"rdblquote", W::Rdblquote},
    {"red", W::Red},
    {"revtbl", W::Skip},
    {"revtim", W::Skip},
    {"row", W::Row, RtfLoss::Tables},
    {"rquote", W::Rquote},
    {"rsidtbl", W::Skip},
    {"rtlmark", W::Rtlmark},
    {"rxe", W::Skip, RtfLoss::IndexEntries},
    {"sect", W::Break},
    {"shp", W::Skip, RtfLoss::Pictures},
    {"shprslt", W::Skip, RtfLoss::Pictures},
    {"strike", W::Strike},
    {"striked", W::StrikeDouble},
    {"stylesheet", W::Skip},
    {"subject", W::Skip},
    {"tab", W::Tab},
    {"tc", W::Skip, RtfLoss::IndexEntries},
    {"template", W::Skip},
    {"themedata", W::Skip},
    {"title", W::Skip},
    {"trowd", W::Ignore, RtfLoss::Tables},
    {"txe", W::Skip, RtfLoss::IndexEntries},
    {"u", W::Unicode},
    {"uc", W::UnicodeFallback},
    {"ul", W::Underline},
    {"uld", W::Underline},
    {"uldash", W::Underline},
    {"uldashd", W::Underline},
    {"uldashdd", W::Underline},
    {"uldb", W::Underline},
    {"ulhwave", W::Underline},
    {"ulldash", W::Underline},
    {"ulnone", W::UnderlineNone},
    {"ulth", W::Underline},
    {"ulthd", W::Underline},
    {"ulthdash", W::Underline},
    {"ulthdashd", W::Underline},
    {"ulthdashdd", W::Underline},
    {"ulthldash", W::Underline},
    {"ululdbwave", W::Underline},
    {"ulw", W::Underline},
    {"ulwave", W::Underline},
    {"userprops", W::Skip},
    {"xe", W::Skip, RtfLoss::IndexEntries},
    {"xmlnstbl", W::Skip},
    {"zwj", W::Zwj},
    {"zwnj", W::Zwnj},
};
static_assert(std::ranges::is_sorted(Words, {}, &WordEntry::name));

const WordEntry *findWord(std::string_view name) {
    const auto it = std::ranges::lower_bound(Words, name, {}, &WordEntry::name);
    return it != std::end(Words) && it->name == name ? it : nullptr;
}

Qt::Alignment qtAlignment(Align align) {
    switch (align) {
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    case Align::Justify:
        return Qt::AlignJustify;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

// Old Windows named a font's charset versions "Arial CE", "Arial Cyr"...;
// systems today have one font for every script, under the plain name.
QString withoutCharsetSuffix(QString name) {
    static const QLatin1StringView Suffixes[] = {" CE"_L1, " Cyr"_L1, " Greek"_L1, " Tur"_L1,
                                                 " Baltic"_L1};
    for (const QLatin1StringView suffix : Suffixes)
        if (name.endsWith(suffix) && name.size() > suffix.size())
            return name.chopped(suffix.size());
    return name;
}

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
};

// One pass over the tokens with an explicit group stack. Text is gathered
// into a run while its formatting stays the same and inserted through one
// cursor when it changes, so the document grows by appends only.
class Reader {
public:
    explicit Reader(QTextDocument &document)
        : m_cursor(&document), m_defaultFamily(document.defaultFont().family()) {}

    void read(QByteArrayView bytes);
    RtfLosses losses() const { return m_losses; }

private:
    bool step(Token &token); // false once reading ends
    void word(const Token &token);
    void textWord(W word, const Token &token);
    void symbol(char symbol);
    void hex(unsigned char byte);
    void text(std::string_view bytes);
    void unicode(int value);
    bool consumeFallback(Token &token);
    void closeGroup();
    void beyondDepth(const Token &token);

    // The font and colour tables.
    void fontTableText(std::string_view bytes);
    void commitFontName();
    void commitColour();
    int codePageOf(int font) const;
    QString family(int font) const;

    // The document being built.
    void prepare(const CharProps &props);
    void addBytes(std::string_view bytes, int codePage);
    void addUnit(char16_t unit);
    void putUnit(char16_t unit);
    void flushBytes();
    void flushRun();
    void endParagraph();
    void setAlignment(Align align);
    void finish();
    const QTextCharFormat &format(const CharProps &props);

    GroupState &state() { return m_stack.back(); }

    QTextCursor m_cursor;
    QString m_defaultFamily;
    std::vector<GroupState> m_stack;
    CodePageDecoder m_decoder;
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;
    int m_fallbackLeft = 0;  // characters still to skip after a \u
    size_t m_excess = 0;     // groups open beyond MaxDepth
    size_t m_skipExcess = 0; // m_excess at which a destination beyond it began; 0: none

    QHash<int, Font> m_fonts;
    int m_tableFont = -1; // the font table entry being read
    QByteArray m_nameBytes;
    QString m_name;

    std::vector<QColor> m_colours; // invalid for "auto"
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourSet = false;

    CharProps m_runProps;
    QString m_runText;
    QByteArray m_bytes; // undecoded tail of the run, in m_bytesCodePage
    int m_bytesCodePage = 1252;
    char16_t m_highSurrogate = 0;
    bool m_needBlock = false;         // a paragraph ended: the next content starts a block
    Align m_blockAlign = Align::Left; // the current block's
    bool m_cellTab = false;           // a cell ended: a tab unless the row ends first
    QHash<CharProps, QTextCharFormat> m_formats;
    RtfLosses m_losses;
};

void Reader::read(QByteArrayView bytes) {
    m_cursor.beginEditBlock();
    Tokenizer tokens(bytes);
    m_stack.reserve(64);
    m_stack.push_back(GroupState{});
    for (Token token = tokens.next(); token.kind != TokenKind::End; token = tokens.next())
        if (!step(token))
            break;
    finish();
    m_cursor.endEditBlock();
}

bool Reader::step(Token &token) {
    if (m_fallbackLeft > 0 && !consumeFallback(token))
        return true;
    if (m_excess > 0 || (token.kind == TokenKind::GroupOpen && m_stack.size() > MaxDepth)) {
        beyondDepth(token);
        return true;
    }
    switch (token.kind) {
    case TokenKind::GroupOpen:
        m_stack.push_back(m_stack.back());
        return true;
    case TokenKind::GroupClose:
        // The document's own group closing ends the reading; its state stays
        // for the last paragraph, which may have no mark of its own.
        if (m_stack.size() <= 2)
            return false;
        closeGroup();
        return true;
    case TokenKind::Word:
        word(token);
        return true;
    case TokenKind::Symbol:
        symbol(token.symbol);
        return true;
    case TokenKind::Hex:
        hex(token.byte);
        return true;
    case TokenKind::Text:
        text(token.text);
        return true;
    case TokenKind::Binary:
    case TokenKind::End:
        return true;
    }
    return true;
}

// After \uN the next \ucN characters are the character's stand-in for older
// readers: text bytes count one each, and so do whole control words, \'hh
// escapes and \bin data. A brace ends the stand-in early.
bool Reader::consumeFallback(Token &token) {
    switch (token.kind) {
    case TokenKind::Word:
        // A character of its own, never a stand-in: surrogate pairs and runs
        // of characters are often written without any.
        if (token.hasParam && token.text == "u") {
            m_fallbackLeft = 0;
            return true;
        }
        --m_fallbackLeft;
        return false;
    case TokenKind::GroupOpen:
    case TokenKind::GroupClose:
        m_fallbackLeft = 0;
        return true;
    case TokenKind::Text: {
        const size_t n = std::min(size_t(m_fallbackLeft), token.text.size());
        token.text.remove_prefix(n);
        m_fallbackLeft -= int(n);
        return !token.text.empty();
    }
    default:
        --m_fallbackLeft;
        return false;
    }
}

// Groups beyond MaxDepth are counted, not kept: their text goes in with the
// deepest kept group's formatting, words that change formatting are dropped
// (so nothing leaks out when they close), and a destination skips its group.
void Reader::beyondDepth(const Token &token) {
    if (token.kind == TokenKind::GroupOpen) {
        ++m_excess;
        return;
    }
    if (token.kind == TokenKind::GroupClose) {
        if (m_skipExcess == m_excess)
            m_skipExcess = 0;
        --m_excess;
        return;
    }
    if (m_skipExcess > 0)
        return;
    const GroupState kept = state();
    switch (token.kind) {
    case TokenKind::Word:
        word(token);
        break;
    case TokenKind::Symbol:
        symbol(token.symbol);
        break;
    case TokenKind::Hex:
        hex(token.byte);
        break;
    case TokenKind::Text:
        text(token.text);
        break;
    default:
        break;
    }
    if (state().dest != kept.dest)
        m_skipExcess = m_excess;
    state() = kept;
}

void Reader::closeGroup() {
    if (state().dest == Dest::FontTable)
        commitFontName(); // an entry may end with its group instead of ';'
    if (m_stack.size() > 1)
        m_stack.pop_back();
}

void Reader::word(const Token &token) {
    const WordEntry *entry = findWord(token.text);
    if (!entry)
        return;
    // Noted inside skipped groups too: {\*\bkmkstart} and {\*\fldinst} are
    // skipped by their star before their word is seen.
    m_losses |= entry->lost;
    GroupState &s = state();
    if (s.dest == Dest::Skip)
        return;
    const int param = token.param;
    switch (entry->word) {
    case W::Skip:
        s.dest = Dest::Skip;
        return;
    case W::FontTable:
        s.dest = Dest::FontTable;
        m_tableFont = -1;
        return;
    case W::ColourTable:
        s.dest = Dest::ColourTable;
        m_colourSet = false;
        return;
    case W::Ansi:
        m_ansiCodePage = 1252;
        return;
    case W::Mac:
        m_ansiCodePage = 10000;
        return;
    case W::Pc:
        m_ansiCodePage = 437;
        return;
    case W::Pca:
        m_ansiCodePage = 850;
        return;
    case W::AnsiCpg:
        if (param > 0)
            m_ansiCodePage = param;
        return;
    case W::Deff:
        m_defaultFont = param;
        return;
    case W::UnicodeFallback:
        s.fallback = std::clamp(token.hasParam ? param : 1, 0, MaxFallback);
        return;
    case W::Unicode:
        if (!token.hasParam) // not a character, so no fallback either
            return;
        if (s.dest == Dest::Text) {
            unicode(param);
        } else if (s.dest == Dest::FontTable) {
            m_name += DecodeCp1252(std::exchange(m_nameBytes, {}));
            m_name += QChar(char16_t(param));
        }
        m_fallbackLeft = s.fallback;
        return;
    default:
        break;
    }
    switch (s.dest) {
    case Dest::Text:
        textWord(entry->word, token);
        return;
    case Dest::FontTable:
        if (entry->word == W::Font) {
            commitFontName();
            m_tableFont = param;
            m_fonts[param] = Font{};
        } else if (m_tableFont >= 0 && entry->word == W::FontCharset) {
            const int codePage = CodePageOfCharset(param);
            if (codePage)
                m_fonts[m_tableFont].codePage = codePage;
        } else if (m_tableFont >= 0 && entry->word == W::Cpg && param > 0) {
            m_fonts[m_tableFont].codePage = param;
        }
        return;
    case Dest::ColourTable: {
        const int value = std::clamp(param, 0, 255);
        if (entry->word == W::Red)
            m_red = value;
        else if (entry->word == W::Green)
            m_green = value;
        else if (entry->word == W::Blue)
            m_blue = value;
        else
            return;
        m_colourSet = true;
        return;
    }
    case Dest::Skip:
        return;
    }
}

void Reader::textWord(W word, const Token &token) {
    GroupState &s = state();
    CharProps &c = s.chars;
    // A toggle is on unless its parameter is 0.
    const bool on = !token.hasParam || token.param != 0;
    const int param = token.param;
    switch (word) {
    case W::Bold:
        c.bold = on;
        break;
    case W::Italic:
        c.italic = on;
        break;
    case W::Underline:
        c.underline = on;
        break;
    case W::UnderlineNone:
        c.underline = false;
        break;
    case W::Strike:
    case W::StrikeDouble:
        c.strike = on;
        break;
    case W::Font:
        c.font = param;
        break;
    case W::FontSize:
        c.halfPoints = param > 0 ? std::min(param, MaxHalfPoints) : DefaultHalfPoints;
        break;
    case W::Cf:
        c.foreground = param;
        break;
    case W::Highlight:
    case W::Chcbpat:
        c.highlight = param;
        break;
    case W::Cb:
        c.shading = param;
        break;
    case W::Plain:
        c = CharProps{};
        break;
    case W::Pard:
        s.align = Align::Left;
        break;
    case W::Ql:
        s.align = Align::Left;
        break;
    case W::Qc:
        s.align = Align::Centre;
        break;
    case W::Qr:
        s.align = Align::Right;
        break;
    case W::Qj:
        s.align = Align::Justify;
        break;
    case W::Par:
        endParagraph();
        break;
    case W::Break:
        if (!m_needBlock)
            endParagraph();
        break;
    case W::Row:
        m_cellTab = false;
        endParagraph();
        break;
    case W::Cell:
        if (m_cellTab)
            prepare(c); // the cell before was empty: its tab goes in now
        m_cellTab = true;
        break;
    case W::Line:
        addUnit(QChar::LineSeparator);
        break;
    case W::Tab:
        addUnit(u'\t');
        break;
    case W::Emdash:
        addUnit(0x2014);
        break;
    case W::Endash:
        addUnit(0x2013);
        break;
    case W::Emspace:
        addUnit(0x2003);
        break;
    case W::Enspace:
        addUnit(0x2002);
        break;
    case W::Qmspace:
        addUnit(0x2005);
        break;
    case W::Bullet:
        addUnit(0x2022);
        break;
    case W::Lquote:
        addUnit(0x2018);
        break;
    case W::Rquote:
        addUnit(0x2019);
        break;
    case W::Ldblquote:
        addUnit(0x201C);
        break;
    case W::Rdblquote:
        addUnit(0x201D);
        break;
    case W::Zwj:
        addUnit(0x200D);
        break;
    case W::Zwnj:
        addUnit(0x200C);
        break;
    case W::Ltrmark:
        addUnit(0x200E);
        break;
    case W::Rtlmark:
        addUnit(0x200F);
        break;
    default:
        break;
    }
}

void Reader::symbol(char symbol) {
    GroupState &s = state();
    if (symbol == '*') {
        // {\*\word ...}: a destination older readers may skip, and so do we.
        s.dest = Dest::Skip;
        return;
    }
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        const std::string_view literal(&symbol, 1);
        if (s.dest == Dest::Text)
            addBytes(literal, 1252);
        else if (s.dest == Dest::FontTable)
            m_nameBytes += symbol;
        return;
    }
    if (s.dest != Dest::Text)
        return;
    switch (symbol) {
    case '~':
        addUnit(0x00A0);
        break;
    case '-':
        addUnit(0x00AD);
        break;
    case '_':
        addUnit(0x2011);
        break;
    case '\n': // a backslash before a line break
        endParagraph();
        break;
    default:
        break;
    }
}

void Reader::hex(unsigned char byte) {
    const char c = static_cast<char>(byte);
    if (state().dest == Dest::Text)
        addBytes(std::string_view(&c, 1), codePageOf(state().chars.font));
    else if (state().dest == Dest::FontTable)
        m_nameBytes += c;
}

void Reader::text(std::string_view bytes) {
    switch (state().dest) {
    case Dest::Text:
        addBytes(bytes, codePageOf(state().chars.font));
        return;
    case Dest::FontTable:
        fontTableText(bytes);
        return;
    case Dest::ColourTable:
        for (const char c : bytes)
            if (c == ';')
                commitColour();
        return;
    case Dest::Skip:
        return;
    }
}

void Reader::unicode(int value) {
    // \u takes a signed 16-bit value; larger ones are taken as code points.
    if (value < 0 && value >= -32768)
        value += 65536;
    if (value >= 0 && value < 0x20 && value != '\t') {
        return; // control characters are not text, however they come
    } else if (value >= 0 && value <= 0xFFFF) {
        addUnit(char16_t(value));
    } else if (value > 0xFFFF && value <= 0x10FFFF) {
        addUnit(QChar::highSurrogate(char32_t(value)));
        addUnit(QChar::lowSurrogate(char32_t(value)));
    } else {
        addUnit(ReplacementChar);
    }
}

void Reader::fontTableText(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t end = bytes.find(';');
        if (m_tableFont >= 0)
            m_nameBytes.append(bytes.data(), qsizetype(std::min(end, bytes.size())));
        if (end == std::string_view::npos)
            return;
        commitFontName();
        bytes.remove_prefix(end + 1);
    }
}

void Reader::commitFontName() {
    if (m_tableFont < 0 || (m_nameBytes.isEmpty() && m_name.isEmpty())) {
        m_nameBytes.clear(); // text before any \fN names nothing
        m_name.clear();
        return;
    }
    Font &font = m_fonts[m_tableFont];
    m_decoder.decode(m_nameBytes, font.codePage ? font.codePage : m_ansiCodePage, m_name);
    font.name = withoutCharsetSuffix(m_name.trimmed());
    m_nameBytes.clear();
    m_name.clear();
    m_formats.clear();
}

void Reader::commitColour() {
    m_colours.push_back(m_colourSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colourSet = false;
    m_formats.clear();
}

// A font missing from the table is taken as \deff's, and that one, when
// missing too, as the document's default.
QString Reader::family(int font) const {
    for (const int number : {font, m_defaultFont}) {
        const auto it = m_fonts.constFind(number < 0 ? m_defaultFont : number);
        if (it != m_fonts.cend() && !it->name.isEmpty())
            return it->name;
    }
    return m_defaultFamily;
}

int Reader::codePageOf(int font) const {
    const auto it = m_fonts.constFind(font < 0 ? m_defaultFont : font);
    return it != m_fonts.cend() && it->codePage ? it->codePage : m_ansiCodePage;
}

// Every piece of content passes here first: it opens the block a paragraph
// mark left pending, ends the run when the formatting changed, and puts in
// the tab of a cell that turned out not to be the row's last.
void Reader::prepare(const CharProps &props) {
    if (m_needBlock) {
        flushRun();
        m_cursor.insertBlock();
        m_needBlock = false;
    }
    if (props != m_runProps) {
        flushRun();
        m_runProps = props;
    }
    if (m_cellTab) {
        m_cellTab = false;
        putUnit(u'\t');
    }
}

void Reader::addBytes(std::string_view bytes, int codePage) {
    prepare(state().chars);
    if (codePage != m_bytesCodePage) {
        flushBytes();
        m_bytesCodePage = codePage;
    }
    // Control characters other than the tab are not text.
    size_t start = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && (static_cast<unsigned char>(bytes[i]) >= 0x20 || bytes[i] == '\t'))
            continue;
        m_bytes.append(bytes.data() + start, qsizetype(i - start));
        start = i + 1;
    }
}

void Reader::addUnit(char16_t unit) {
    prepare(state().chars);
    putUnit(unit);
}

// Surrogates must come in pairs; a lone half becomes U+FFFD. The document's
// own markers for objects and frames are not text and never go in as text.
void Reader::putUnit(char16_t unit) {
    if (unit == QChar::ObjectReplacementCharacter || unit == 0xFDD0 || unit == 0xFDD1)
        return;
    flushBytes();
    if (QChar::isLowSurrogate(unit) && m_highSurrogate) {
        m_runText += QChar(std::exchange(m_highSurrogate, 0));
        m_runText += QChar(unit);
        return;
    }
    if (m_highSurrogate) {
        m_runText += QChar(ReplacementChar);
        m_highSurrogate = 0;
    }
    if (QChar::isHighSurrogate(unit))
        m_highSurrogate = unit;
    else
        m_runText += QChar(QChar::isLowSurrogate(unit) ? ReplacementChar : unit);
}

void Reader::flushBytes() {
    if (m_bytes.isEmpty())
        return;
    if (m_highSurrogate) {
        m_runText += QChar(ReplacementChar);
        m_highSurrogate = 0;
    }
    m_decoder.decode(m_bytes, m_bytesCodePage, m_runText);
    m_bytes.clear();
}

void Reader::flushRun() {
    flushBytes();
    if (m_highSurrogate) {
        m_runText += QChar(ReplacementChar);
        m_highSurrogate = 0;
    }
    if (m_runText.isEmpty())
        return;
    m_cursor.insertText(m_runText, format(m_runProps));
    m_runText.clear();
}

// The paragraph's alignment is the one in force at its mark. The next block
// opens only when content follows, so a file's closing \par adds no empty
// paragraph at the end.
void Reader::endParagraph() {
    if (m_needBlock) {
        flushRun();
        m_cursor.insertBlock();
    }
    m_cellTab = false;
    flushRun();
    setAlignment(state().align);
    m_needBlock = true;
}

// A new block takes the format of the one before it, so the format is set
// only where the alignment changes.
void Reader::setAlignment(Align align) {
    if (align == m_blockAlign)
        return;
    QTextBlockFormat block;
    block.setAlignment(qtAlignment(align));
    m_cursor.setBlockFormat(block);
    m_blockAlign = align;
}

void Reader::finish() {
    flushRun();
    if (!m_needBlock)
        setAlignment(state().align);
}

const QTextCharFormat &Reader::format(const CharProps &props) {
    auto it = m_formats.find(props);
    if (it != m_formats.end())
        return *it;
    QTextCharFormat format;
    const QString name = family(props.font);
    format.setFontFamilies(QStringList{name});
    format.setProperty(FamilyHashProperty, name);
    format.setFontPointSize(props.halfPoints / 2.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    const auto colour = [this](int index) {
        return index >= 0 && size_t(index) < m_colours.size() ? m_colours[size_t(index)] : QColor();
    };
    if (const QColor c = colour(props.foreground); c.isValid())
        format.setForeground(c);
    if (const QColor c = colour(props.highlight); c.isValid())
        format.setBackground(c);
    else if (const QColor s = colour(props.shading); s.isValid())
        format.setBackground(s);
    return *m_formats.insert(props, format);
}

} // namespace

namespace {
// Where "{\rtf" starts after a UTF-8 byte order mark and white space, which
// editors and mail programs leave before it; -1 when it does not.
qsizetype rtfStart(const QByteArray &bytes) {
    qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (start < bytes.size() && (bytes[start] == ' ' || bytes[start] == '\t' ||
                                    bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    return QByteArrayView(bytes).sliced(start).startsWith("{\\rtf") ? start : -1;
}
} // namespace

bool IsRtf(const QByteArray &bytes) {
    return rtfStart(bytes) >= 0;
}

RtfLosses ReadRtf(const QByteArray &bytes, QTextDocument &document) {
    // Loading is not an edit: nothing of it goes on the undo stack.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    Reader reader(document);
    reader.read(QByteArrayView(bytes).sliced(std::max<qsizetype>(rtfStart(bytes), 0)));
    document.setUndoRedoEnabled(undo);
    return reader.losses();
}

RtfLosses ReadNoteBytes(const QByteArray &bytes, QTextDocument &document) {
    if (IsRtf(bytes))
        return ReadRtf(bytes, document);
    QString text;
    if (const auto encoding = QStringConverter::encodingForData(bytes);
        encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE) {
        // Notepad's "Unicode" files: the decoder drops the byte order mark.
        text = QStringDecoder(*encoding).decode(bytes);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(bytes);
        if (utf8.hasError())
            text = DecodeCp1252(bytes);
    }
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    document.setPlainText(text);
    return RtfLoss::Nothing;
}

} // namespace qm
