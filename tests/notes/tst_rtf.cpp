#include "notes/NoteFiles.h"
#include "notes/Rtf.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString DataDir = QStringLiteral(QM_TEST_DATA_DIR "/rtf/");

QFont defaultFont() {
    return QFont(u"DejaVu Sans"_s, 11);
}

std::unique_ptr<QTextDocument> newDocument() {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(defaultFont());
    return document;
}

std::unique_ptr<QTextDocument> read(const QByteArray &bytes) {
    auto document = newDocument();
    qm::ReadRtf(bytes, *document);
    return document;
}

QByteArray fileBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

// Text as the expectation files write it: backslash, tab and invisible
// characters escaped (see scripts/rtf_golden.py).
QString escaped(const QString &text) {
    QString out;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (c == u'\\')
            out += u"\\\\"_s;
        else if (c == u'\t')
            out += u"\\t"_s;
        else if (c == 0x2011 || category == QChar::Other_Control ||
                 category == QChar::Other_Format || category == QChar::Separator_Line ||
                 category == QChar::Separator_Paragraph || category == QChar::Other_PrivateUse ||
                 category == QChar::Other_Surrogate ||
                 (category == QChar::Separator_Space && c != u' '))
            out += u"\\u%1"_s.arg(uint(c), 4, 16, QChar(u'0'));
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

// A run's formatting as the expectation files write it; what the run does
// not set comes from the document's default font, as the writer takes it.
QString runKey(const QTextCharFormat &format, const QFont &base) {
    QString family = base.family();
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            family = families.first();
    }
    const double size =
        format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : base.pointSizeF();
    QString sizeText = QString::number(size, 'f', 1);
    if (sizeText.endsWith(u".0"_s))
        sizeText.chop(2);
    const bool bold = (format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight()
                                                                   : int(base.weight())) >= 600;
    const QString flags = QString(bold ? u'b' : u'-') + (format.fontItalic() ? u'i' : u'-') +
                          (format.fontUnderline() ? u'u' : u'-') +
                          (format.fontStrikeOut() ? u's' : u'-');
    const QBrush fg = format.foreground();
    const QBrush bg = format.background();
    return QStringList{family, sizeText, flags,
                       fg.style() == Qt::NoBrush ? u"auto"_s : fg.color().name(),
                       bg.style() == Qt::NoBrush ? u"none"_s : bg.color().name()}
        .join(u'\t');
}

// The document in the expectation files' line format: a line per paragraph
// with its alignment, then a line per run of equally formatted text.
QStringList describe(const QTextDocument &document) {
    QStringList lines;
    const QFont base = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const Qt::Alignment align = block.blockFormat().alignment();
        lines.append(u"paragraph "_s + (align & Qt::AlignHCenter   ? u"centre"_s
                                        : align & Qt::AlignJustify ? u"justify"_s
                                        : align & Qt::AlignRight   ? u"right"_s
                                                                   : u"left"_s));
        QString key;
        QString text;
        const auto flush = [&] {
            if (!text.isEmpty())
                lines.append(u"run\t"_s + key + u'\t' + escaped(text));
            text.clear();
        };
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString fragmentKey = runKey(fragment.charFormat(), base);
            if (fragmentKey != key)
                flush();
            key = fragmentKey;
            text += fragment.text();
        }
        flush();
    }
    return lines;
}

// The characters of the document, paragraphs separated by '\n'.
QString textOf(const QTextDocument &document) {
    QStringList blocks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    return blocks.join(u'\n');
}

QStringList expectationLines(const QString &path) {
    QStringList lines;
    for (const QString &line : QString::fromUtf8(fileBytes(path)).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QString resolved = line;
        lines.append(
            resolved.replace(u"run\t(default)\t"_s, u"run\t"_s + defaultFont().family() + u'\t'));
    }
    return lines;
}

// Documents of what the format bar can make: runs in any font, size 1 to 32,
// bold, italic, underline, strike-out and colours, over text that mixes
// Windows-1252, other scripts, characters outside the BMP and RTF's own
// syntax characters; paragraphs aligned four ways, some empty.
void generate(QTextDocument &document, quint32 seed) {
    static const QString Families[] = {u"DejaVu Sans"_s, u"Times New Roman"_s, u"Courier New"_s,
                                       u"Noto Serif CJK JP"_s, u"\u00dcn\u00efc\u00f8de \u03a9"_s};
    static const QString Pieces[] = {
        u"Hello"_s,  u" "_s,          u"world"_s,  u"\\"_s,     u"{"_s,      u"}"_s,
        u"\t"_s,     u"\u2028"_s,     u"\u00e9"_s, u"\u20ac"_s, u"\u03a9"_s, u"\u0436"_s,
        u"\u4e2d"_s, u"\U0001F600"_s, u"\u00a0"_s, u"\u00ad"_s, u"\u2011"_s, u"?"_s,
        u"\\par"_s,  u"0"_s,          u";"_s,      u"\u00ff"_s};
    static const Qt::Alignment Aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                           Qt::AlignJustify};
    QRandomGenerator random(seed);
    const auto chance = [&](int in) { return random.bounded(in) == 0; };
    document.setDefaultFont(defaultFont());
    QTextCursor cursor(&document);
    const int paragraphs = random.bounded(1, 8);
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(Aligns[random.bounded(4)]);
        cursor.setBlockFormat(block);
        if (chance(5))
            continue;
        for (int runs = random.bounded(1, 6); runs > 0; --runs) {
            QTextCharFormat format;
            if (!chance(4))
                format.setFontFamilies({Families[random.bounded(5)]});
            if (!chance(4))
                format.setFontPointSize(random.bounded(1, 33));
            format.setFontWeight(chance(3) ? QFont::Bold : QFont::Normal);
            format.setFontItalic(chance(3));
            format.setFontUnderline(chance(3));
            format.setFontStrikeOut(chance(4));
            if (chance(3))
                format.setForeground(QColor(QRgb(random.bounded(0x1000000))));
            if (chance(4))
                format.setBackground(QColor(QRgb(random.bounded(0x1000000))));
            QString text;
            for (int n = random.bounded(1, 10); n > 0; --n)
                text += Pieces[random.bounded(int(std::size(Pieces)))];
            cursor.insertText(text, format);
        }
    }
    if (chance(3))
        cursor.insertBlock(); // a trailing empty paragraph
}

// With QM_RTF_WRITER_OUT set, the round trip leaves a few of its documents
// there, as X.rtf and X.expected, for scripts/rtf-golden.sh --check-writer.
void keepForWriterCheck(const QString &name, const QTextDocument &document) {
    const QString dir = qEnvironmentVariable("QM_RTF_WRITER_OUT");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    QFile rtf(dir + u'/' + name + u".rtf"_s);
    QFile expected(dir + u'/' + name + u".expected"_s);
    if (!rtf.open(QIODevice::WriteOnly) || !expected.open(QIODevice::WriteOnly))
        qFatal("cannot write in %s", qPrintable(dir));
    rtf.write(qm::WriteRtf(document));
    expected.write(describe(document).join(u'\n').toUtf8() + '\n');
}

} // namespace

class TestRtf : public QObject {
    Q_OBJECT
private slots:
    void readsAsLibreOffice_data();
    void readsAsLibreOffice();
    void readsText_data();
    void readsText();
    void readsFormatting_data();
    void readsFormatting();
    void lastParagraphKeepsItsAlignment_data();
    void lastParagraphKeepsItsAlignment();
    void readsBeyondTheDepthCap_data();
    void readsBeyondTheDepthCap();
    void survivesHostileInput_data();
    void survivesHostileInput();
    void truncatedFilesGiveWhatWasRead_data();
    void truncatedFilesGiveWhatWasRead();
    void readsPlainText_data();
    void readsPlainText();
    void reportsWhatItCannotKeep_data();
    void reportsWhatItCannotKeep();
    void writes_data();
    void writes();
    void roundTripKeepsTheDocument();
};

// Our reading of each file in tests/data/rtf equals LibreOffice's, recorded
// in X.expected by scripts/rtf-golden.sh.
void TestRtf::readsAsLibreOffice_data() {
    QTest::addColumn<QString>("name");
    const QStringList files = QDir(DataDir).entryList({u"*.rtf"_s}, QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 15);
    for (const QString &file : files)
        QTest::newRow(qPrintable(file)) << file.chopped(4);
}

void TestRtf::readsAsLibreOffice() {
    QFETCH(QString, name);
    const auto document = read(fileBytes(DataDir + name + u".rtf"_s));
    QCOMPARE(describe(*document), expectationLines(DataDir + name + u".expected"_s));
}

// Where we read differently from LibreOffice, and rules the files above do
// not reach.
void TestRtf::readsText_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("a control word is one fallback character")
        << QByteArray(R"({\rtf1\uc1\u8226\bullet end})") << u"\u2022end"_s;
    QTest::newRow("a brace ends the fallback")
        << QByteArray(R"({\rtf1\uc5 a\u8364{b}c})") << u"a\u20acbc"_s;
    QTest::newRow("\\bin data is one fallback character")
        << QByteArray(R"({\rtf1\uc1\u8364\bin3 abcB})") << u"\u20acB"_s;
    QTest::newRow("\\bin in a picture")
        << QByteArray("{\\rtf1 A{\\pict\\wmetafile8\\bin4 }{\\\\}B}") << u"AB"_s;
    QTest::newRow("object result skipped")
        << QByteArray(R"({\rtf1 A{\object{\result R}}B})") << u"AB"_s;
    QTest::newRow("lone high surrogate") << QByteArray(R"({\rtf1 \u-10179?x})") << u"\ufffdx"_s;
    QTest::newRow("lone low surrogate") << QByteArray(R"({\rtf1 \u-8704?x})") << u"\ufffdx"_s;
    QTest::newRow("code point above 16 bits")
        << QByteArray(R"({\rtf1 \u128512?})") << u"\U0001F600"_s;
    QTest::newRow("list text kept")
        << QByteArray(R"({\rtf1{\pntext\'b7\tab}item})") << u"\u00b7\titem"_s;
    QTest::newRow("control word past 32 letters ignored")
        << QByteArray(R"({\rtf1 a\abcdefghijklmnopqrstuvwxyzabcdefghij b})") << u"ab"_s;
    QTest::newRow("page and section breaks end paragraphs")
        << QByteArray(R"({\rtf1 a\page b\sect c})") << u"a\nb\nc"_s;
    QTest::newRow("closing mark adds no paragraph") << QByteArray(R"({\rtf1 a\par})") << u"a"_s;
    QTest::newRow("empty paragraph before the end")
        << QByteArray(R"({\rtf1 a\par\par})") << u"a\n"_s;
    QTest::newRow("text after the document") << QByteArray(R"({\rtf1 a}b)") << u"a"_s;
    QTest::newRow("control bytes dropped") << QByteArray("{\\rtf1 a\x01\x00z}", 11) << u"az"_s;
    QTest::newRow("invalid double-byte sequence")
        << QByteArray(R"({\rtf1\ansicpg932 \'83'\'82\'a0})") << u"\ufffd'\u3042"_s;
    QTest::newRow("\\pc code page") << QByteArray(R"({\rtf1\pc \'82})") << u"\u00e9"_s;
    QTest::newRow("\\pca code page") << QByteArray(R"({\rtf1\pca \'d5})") << u"\u0131"_s;
    QTest::newRow("unknown code page as 1252")
        << QByteArray(R"({\rtf1\ansicpg4242 \'80})") << u"\u20ac"_s;
    QTest::newRow("font name in its charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset204 \'c0\'f0\'e8\'e0\'eb;}}\'c0})")
        << u"\u0410"_s;
    QTest::newRow("font entry without its semicolon")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset238 A}}\'b9})") << u"\u0105"_s;
    QTest::newRow("fields without result")
        << QByteArray(R"({\rtf1 a{\field{\*\fldinst PAGE}}b})") << u"ab"_s;
    QTest::newRow("row of one cell") << QByteArray(R"({\rtf1\intbl a\cell\row b})") << u"a\nb"_s;
    // A \u right after a \u is the next character, never the first one's
    // stand-in; the stand-in count starts again after the last.
    QTest::newRow("pair and run without stand-ins")
        << QByteArray(R"({\rtf1\ansi E\u55357 \u56835  x\par M\u21487\u21488 N\par})")
        << u"E\U0001F603x\nM\u53ef\u53f0"_s;
    QTest::newRow("stand-ins after every one")
        << QByteArray(R"({\rtf1 \u-10179?\u-8701?\u21487\'3f\u21488\'3f!})")
        << u"\U0001F603\u53ef\u53f0!"_s;
    QTest::newRow("two-character stand-ins")
        << QByteArray(R"({\rtf1\uc2 \u21487\u21488 xyz})") << u"\u53ef\u53f0z"_s;
    // A page or section break ends a paragraph unless a mark has just ended it.
    QTest::newRow("breaks alone and after marks")
        << QByteArray(R"({\rtf1\ansi A\page B\par C\par\page D\par E\sect F\par G\par\sect H\par})")
        << u"A\nB\nC\nD\nE\nF\nG\nH"_s;
    QTest::newRow("formatting between mark and break")
        << QByteArray(R"({\rtf1 A\par\pard\b\page B})") << u"A\nB"_s;
    QTest::newRow("empty paragraph before a break")
        << QByteArray(R"({\rtf1 A\par\par\page B})") << u"A\n\nB"_s;
}

void TestRtf::readsText() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(*read(rtf)), text);
}

void TestRtf::readsFormatting_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("runs");
    const QByteArray tables = R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}})"
                              R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})";
    QTest::newRow("colour and font out of range are the defaults")
        << tables + R"(\cf77 a\f99 b})" << QStringList{u"Arial\t12\t----\tauto\tnone\tab"_s};
    QTest::newRow("font table text before its first font")
        << QByteArray(R"({\rtf1{\fonttbl\'41 junk\u66?;\f0 Arial;}a})")
        << QStringList{u"Arial\t12\t----\tauto\tnone\ta"_s};
    QTest::newRow("charset names are the plain font")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset238 Arial CE;}{\f1 CE;}}a\f1 b})")
        << QStringList{u"Arial\t12\t----\tauto\tnone\ta"_s, u"CE\t12\t----\tauto\tnone\tb"_s};
    QTest::newRow("\\cb is a background, below a highlight")
        << tables + R"({\cb1 a}{\cb1\highlight2 b}{\highlight2\cb1 c}})"
        << QStringList{u"Arial\t12\t----\tauto\t#ff0000\ta"_s,
                       u"Arial\t12\t----\tauto\t#0000ff\tbc"_s};
    QTest::newRow("\\deff picks the default font")
        << QByteArray(R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}a{\f0 b}})")
        << QStringList{u"Courier New\t12\t----\tauto\tnone\ta"_s,
                       u"Arial\t12\t----\tauto\tnone\tb"_s};
    QTest::newRow("\\deff without its font is the document's font")
        << QByteArray(R"({\rtf1\deff5{\fonttbl{\f0 Arial;}}a})")
        << QStringList{defaultFont().family() + u"\t12\t----\tauto\tnone\ta"_s};
    QTest::newRow("\\fs0 is the default size, huge sizes are clamped")
        << tables + R"(\fs0 a\fs99999999999999999999 b})"
        << QStringList{u"Arial\t12\t----\tauto\tnone\ta"_s, u"Arial\t1638\t----\tauto\tnone\tb"_s};
    QTest::newRow("toggles with 0 end")
        << tables + R"(\b\i\ul\strike a\b0\i0\ul0\strike0 b\striked1 c\striked0 d})"
        << QStringList{u"Arial\t12\tbius\tauto\tnone\ta"_s, u"Arial\t12\t----\tauto\tnone\tb"_s,
                       u"Arial\t12\t---s\tauto\tnone\tc"_s, u"Arial\t12\t----\tauto\tnone\td"_s};
    QTest::newRow("\\strike after \\striked0")
        << tables + R"(\striked1 a\striked0 b\strike c})"
        << QStringList{u"Arial\t12\t---s\tauto\tnone\ta"_s, u"Arial\t12\t----\tauto\tnone\tb"_s,
                       u"Arial\t12\t---s\tauto\tnone\tc"_s};
    QTest::newRow("\\ulc is a colour, not an underline")
        << tables + R"(\ulc1 a})" << QStringList{u"Arial\t12\t----\tauto\tnone\ta"_s};
}

void TestRtf::readsFormatting() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, runs);
    QStringList lines = describe(*read(rtf));
    lines.removeFirst(); // the paragraph
    for (QString &line : lines)
        line.remove(0, 4); // "run\t"
    QCOMPARE(lines, runs);
}

// The last paragraph takes the alignment in force where the document ends,
// with or without a mark of its own.
void TestRtf::lastParagraphKeepsItsAlignment_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("paragraphs");
    const QStringList leftCentre = {u"paragraph left"_s, u"paragraph centre"_s};
    QTest::newRow("no closing mark")
        << QByteArray(R"({\rtf1\ansi\pard first\par\pard\qc centred, no closing par})")
        << leftCentre;
    QTest::newRow("closing mark") << QByteArray(
                                         R"({\rtf1\ansi\pard first\par\pard\qc centred\par})")
                                  << leftCentre;
    QTest::newRow("only paragraph")
        << QByteArray(R"({\rtf1\qr right})") << QStringList{u"paragraph right"_s};
    QTest::newRow("file cut short") << QByteArray(R"({\rtf1 a\par\qj b)")
                                    << QStringList{u"paragraph left"_s, u"paragraph justify"_s};
}

void TestRtf::lastParagraphKeepsItsAlignment() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, paragraphs);
    const QStringList lines = describe(*read(rtf)).filter(QRegularExpression(u"^paragraph"_s));
    QCOMPARE(lines, paragraphs);
}

// Groups nested beyond the cap are not kept apart, but their text is read in
// the formatting of the deepest kept group; a destination there is skipped.
void TestRtf::readsBeyondTheDepthCap_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("runs");
    const int deep = 10000;
    QTest::newRow("10,000 groups around a word")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}a") + QByteArray(deep, '{') + "b" +
               QByteArray(deep, '}') + "c}"
        << QStringList{u"Arial\t12\t----\tauto\tnone\tabc"_s};
    QTest::newRow("formatting beyond the cap")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0 Arial;}}a{\\b ") + QByteArray(deep, '{') +
               R"(\i b{\*\x c}{\pict d}{\fonttbl{\f0 e;}}\tab )" + QByteArray(deep, '}') + " f}g}"
        << QStringList{u"Arial\t12\t----\tauto\tnone\ta"_s,
                       u"Arial\t12\tb---\tauto\tnone\tb\\t f"_s,
                       u"Arial\t12\t----\tauto\tnone\tg"_s};
}

void TestRtf::readsBeyondTheDepthCap() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, runs);
    QStringList lines = describe(*read(rtf));
    lines.removeFirst(); // the paragraph
    for (QString &line : lines)
        line.remove(0, 4); // "run\t"
    QCOMPARE(lines, runs);
}

// Nothing crashes, hangs or grows without bound; what can be read is kept.
void TestRtf::survivesHostileInput_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    const int deep = 100000;
    QTest::newRow("nesting 100,000 deep")
        << QByteArray("{\\rtf1 a") + QByteArray(deep, '{') + "b" + QByteArray(deep, '}') + "c}"
        << u"abc"_s;
    QTest::newRow("nesting 10,000 deep is read")
        << QByteArray("{\\rtf1 a") + QByteArray(9999, '{') + "b" + QByteArray(9999, '}') + "c}"
        << u"abc"_s;
    QTest::newRow("closing braces beyond the first")
        << QByteArray("{\\rtf1 a" + QByteArray(1000, '}') + "b") << u"a"_s;
    QTest::newRow("\\u without a number") << QByteArray(R"({\rtf1 a\u b})") << u"ab"_s;
    QTest::newRow("\\u for a control character")
        << QByteArray(R"({\rtf1 a\u1?\u9?b})") << u"a\tb"_s;
    QTest::newRow("\\u for the document's markers")
        << QByteArray(R"({\rtf1 a\u65532?\u-560?\u-559?b})") << u"ab"_s;
    QTest::newRow("huge \\u") << QByteArray(R"({\rtf1 \u-99999999999?x\u99999999999?y})")
                              << u"\ufffdx\ufffdy"_s;
    QTest::newRow("huge \\uc") << QByteArray(R"({\rtf1\uc99999999999 \u8364 abcdefghijklmnopqrst})")
                               << u"\u20acqrst"_s;
    QTest::newRow("\\bin without length") << QByteArray(R"({\rtf1 a\bin b})") << u"ab"_s;
    QTest::newRow("\\bin with a huge length")
        << QByteArray(R"({\rtf1 a\bin99999999999999 bcd})") << u"a"_s;
    QTest::newRow("\\bin with a negative length") << QByteArray(R"({\rtf1 a\bin-5 b})") << u"ab"_s;
    QTest::newRow("lone backslash at the end") << QByteArray("{\\rtf1 a\\") << u"a"_s;
    QTest::newRow("\\' at the end") << QByteArray("{\\rtf1 a\\'") << u"a"_s;
    QTest::newRow("\\' with one digit at the end") << QByteArray("{\\rtf1 a\\'4") << u"a"_s;
    QTest::newRow("\\'zz") << QByteArray(R"({\rtf1 a\'zzb})") << u"ab"_s;
    QTest::newRow("\\' before a brace") << QByteArray(R"({\rtf1 {a\'}b})") << u"ab"_s;
    QTest::newRow("\\* outside a group") << QByteArray(R"({\rtf1 a\*b})") << u"a"_s;
    QTest::newRow("font table in the text") << QByteArray(R"({\rtf1 a{\fonttbl x;}b})") << u"ab"_s;
    QTest::newRow("only the signature") << QByteArray("{\\rtf") << QString();
    QTest::newRow("empty group soup")
        << QByteArray("{\\rtf1" + QByteArray(5000, '{') + "}{}{") << QString();
}

void TestRtf::survivesHostileInput() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QCOMPARE(textOf(*read(rtf)), text);
}

// A file cut at any byte reads as a beginning of the whole file's text.
void TestRtf::truncatedFilesGiveWhatWasRead_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("formatting") << u"formatting"_s;
    QTest::newRow("symbols") << u"symbols"_s;
    QTest::newRow("codepage_dbcs") << u"codepage_dbcs"_s;
}

void TestRtf::truncatedFilesGiveWhatWasRead() {
    QFETCH(QString, name);
    const QByteArray bytes = fileBytes(DataDir + name + u".rtf"_s);
    const QString whole = textOf(*read(bytes));
    QVERIFY(!whole.isEmpty());
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        const QString part = textOf(*read(bytes.left(size)));
        if (!whole.startsWith(part))
            QFAIL(qPrintable(u"cut at %1: %2"_s.arg(size).arg(part)));
    }
}

void TestRtf::readsPlainText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("rich");
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac") << u"caf\u00e9 \u20ac"_s
                           << false;
    QTest::newRow("UTF-8 with its mark") << QByteArray("\xef\xbb\xbfx") << u"x"_s << false;
    QTest::newRow("invalid UTF-8 is Windows-1252")
        << QByteArray("caf\xe9 \x80\x81") << u"caf\u00e9 \u20ac\u0081"_s << false;
    QTest::newRow("line ends") << QByteArray("a\r\nb\rc\nd") << u"a\nb\nc\nd"_s << false;
    QTest::newRow("UTF-16 with its mark") << QByteArray("\xff\xfe"
                                                        "a\0\r\0\n\0\xac\x20",
                                                        10)
                                          << u"a\n\u20ac"_s << false;
    QTest::newRow("space before the signature") << QByteArray(" {\\rtf1 a}") << u"a"_s << true;
    QTest::newRow("line break before the signature")
        << QByteArray("\n{\\rtf1\\ansi Hello\\par}") << u"Hello"_s << true;
    QTest::newRow("white space and UTF-8 mark before the signature")
        << QByteArray("\xef\xbb\xbf\r\n\t {\\rtf1 a}") << u"a"_s << true;
    QTest::newRow("text before the signature")
        << QByteArray("x {\\rtf1 a}") << u"x {\\rtf1 a}"_s << false;
    QTest::newRow("RTF") << QByteArray("{\\rtf1 a\\par b}") << u"a\nb"_s << true;
    QTest::newRow("empty") << QByteArray() << QString() << false;
}

void TestRtf::readsPlainText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, rich);
    QCOMPARE(qm::NoteFileKindOf(bytes) == qm::NoteFileKind::Rtf, rich);
    const auto document = newDocument();
    qm::ReadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\qc\\b old}", *document);
    qm::ReadNoteBytes(bytes, *document);
    QCOMPARE(textOf(*document), text);
    if (!rich) {
        // Plain text carries no formatting: the editor's font shows it.
        const QTextCharFormat format = document->begin().begin().fragment().charFormat();
        QVERIFY(!format.hasProperty(QTextFormat::FontFamilies));
        QVERIFY(!format.hasProperty(QTextFormat::FontWeight));
        QCOMPARE(document->begin().blockFormat().alignment(), Qt::AlignLeft);
    }
}

// What reading drops that a user would miss, named for the question asked
// before such a file is written over; formatting and the document's own
// housekeeping are not counted.
void TestRtf::reportsWhatItCannotKeep_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("lost");
    const auto file = [](const char *name) { return fileBytes(DataDir + QLatin1StringView(name)); };
    QTest::newRow("editor's own note")
        << QByteArray(R"({\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\f0\fs24\b a\tab b\par\qc c\par})")
        << QString();
    QTest::newRow("housekeeping and formatting")
        << QByteArray(R"({\rtf1{\*\generator X;}{\stylesheet{\s0 Normal;}}{\info{\title T}})"
                      R"({\*\ftnsep\chftnsep}{\*\listtable}\viewkind4\sa200\sl276\li720 a})")
        << QString();
    QTest::newRow("picture") << QByteArray(R"({\rtf1 a{\pict\pngblip 89}})") << u"Pictures"_s;
    QTest::newRow("picture behind a star")
        << QByteArray(R"({\rtf1 a{\*\shppict{\pict\pngblip 89}}})") << u"Pictures"_s;
    QTest::newRow("shape") << QByteArray(R"({\rtf1 a{\shp{\*\shpinst x}}})") << u"Pictures"_s;
    QTest::newRow("old-style field")
        << QByteArray(R"({\rtf1 {\field{\fldinst PAGE}{\fldrslt 1}}})") << u"Fields"_s;
    QTest::newRow("comment") << QByteArray(R"({\rtf1 a{\*\atnid A}{\*\annotation note}})")
                             << u"Comments"_s;
    QTest::newRow("index entry") << QByteArray(R"({\rtf1 a{\xe{Apples}}})") << u"Index Entries"_s;
    QTest::newRow("fields") << file("fields.rtf") << u"Fields"_s;
    QTest::newRow("table") << file("table.rtf") << u"Tables"_s;
    QTest::newRow("a word processor's letter")
        << file("destinations.rtf")
        << u"Pictures, Objects, Headers And Footers, Footnotes And Bookmarks"_s;
    QTest::newRow("two of them") << QByteArray(R"({\rtf1\intbl a\cell\row{\footer b}})")
                                 << u"Tables And Headers And Footers"_s;
}

void TestRtf::reportsWhatItCannotKeep() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, lost);
    const auto document = newDocument();
    QCOMPARE(qm::LossNames(qm::ReadRtf(rtf, *document)), lost);
}

void TestRtf::writes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("syntax characters") << u"a\\b{c}"_s << QByteArray(R"( a\\b\{c\}\par)");
    QTest::newRow("Windows-1252 above 127")
        << u"\u00e9\u20ac\u00ff"_s << QByteArray(R"( \'e9\'80\'ff\par)");
    QTest::newRow("outside Windows-1252") << u"\u03a9\uffff"_s << QByteArray(R"( \u937?\u-1?\par)");
    QTest::newRow("surrogate pair") << u"\U0001F600"_s << QByteArray(R"( \u-10179?\u-8704?\par)");
    QTest::newRow("undefined 1252 bytes as \\u") << u"\u0081"_s << QByteArray(R"( \u129?\par)");
    QTest::newRow("control symbols")
        << u"\t\u2028\u00a0\u00ad\u2011"_s << QByteArray(R"( \tab \line \~\-\_\par)");
    QTest::newRow("leading space after the delimiter") << u" x"_s << QByteArray(R"(  x\par)");
}

void TestRtf::writes() {
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    const auto document = newDocument();
    QTextCursor(document.get()).insertText(text);
    const QByteArray rtf = qm::WriteRtf(*document);
    QVERIFY(rtf.startsWith(R"({\rtf1\ansi\ansicpg1252\deff0)"));
    QVERIFY(rtf.contains(R"({\fonttbl{\f0\fnil\fcharset0 DejaVu Sans;}})"));
    QVERIFY(rtf.contains(R"({\colortbl;})"));
    QVERIFY2(rtf.contains(expected), rtf.constData());
    QVERIFY(rtf.endsWith("}\r\n"));
    for (const char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
}

// Whatever the format bar makes is read back as it was written, and the
// writer keeps its lines short.
void TestRtf::roundTripKeepsTheDocument() {
    for (quint32 seed = 1; seed <= 300; ++seed) {
        const auto written = newDocument();
        generate(*written, seed);
        const QByteArray rtf = qm::WriteRtf(*written);
        const auto back = newDocument();
        QCOMPARE(qm::ReadRtf(rtf, *back), qm::RtfLoss::Nothing);
        const QStringList expected = describe(*written);
        if (describe(*back) != expected) {
            qWarning("seed %u", seed);
            QCOMPARE(describe(*back), expected);
        }
        for (const QByteArray &line : rtf.split('\n'))
            QVERIFY2(line.size() < 260, line.constData());
        if (seed <= 4)
            keepForWriterCheck(u"generated%1"_s.arg(seed), *written);
    }
    // A long paragraph over every format, for the writer check.
    const auto sampler = newDocument();
    QTextCursor cursor(sampler.get());
    for (int size = 1; size <= 32; ++size) {
        QTextCharFormat format;
        format.setFontPointSize(size);
        format.setFontWeight(size % 2 ? QFont::Bold : QFont::Normal);
        format.setFontItalic(size % 3 == 0);
        format.setFontUnderline(size % 5 == 0);
        format.setFontStrikeOut(size % 7 == 0);
        if (size % 4 == 0)
            format.setForeground(QColor(size * 8, 0, 255 - size * 8));
        if (size % 6 == 0)
            format.setBackground(QColor(255, 255 - size * 4, 0));
        cursor.insertText(u"Size %1 \u00e9\u20ac\u03a9 {x} "_s.arg(size), format);
    }
    keepForWriterCheck(u"sampler"_s, *sampler);
}

QTEST_MAIN(TestRtf)
#include "tst_rtf.moc"
