// The RTF reader and writer: a 10 MB file of random RTF tokens (braces,
// control words with random parameters, escapes, \u, \bin and text), which
// the reader must get through in well under a second whatever it holds, and
// a 2 MB well-formed note with varied formatting, read and written. Qt's own
// HTML reader and writer over the same note are shown for scale. Then files
// and documents with many distinct fonts and many distinct colours, each at
// two sizes four times apart: time that grows with the size, not its square,
// grows about four times.
//
// Prints milliseconds (median of several runs).

#include "BenchSupport.h"
#include "notes/Rtf.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
using namespace bench;

// Random tokens. The group depth is kept between 1 and 200, \bin lengths
// small and destinations at the start of groups, so the whole file is read
// rather than cut short by the depth limit, the document's closing brace, a
// \bin swallowing the rest or the document's own group being skipped.
QByteArray randomRtf(qsizetype size, quint32 seed) {
    static const char *const Words[] = {
        "b",    "i",     "ul",      "ulnone",  "strike", "f",         "fs",       "cf",
        "cb",   "par",   "pard",    "plain",   "qc",     "qr",        "qj",       "tab",
        "line", "uc",    "cell",    "row",     "sect",   "highlight", "emdash",   "bullet",
        "red",  "field", "fldrslt", "ansicpg", "deff",   "xyzzy",     "fcharset", "lquote"};
    static const char *const Destinations[] = {"\\*\\xyz", "\\fonttbl", "\\colortbl",
                                               "\\pict",   "\\fldinst", "\\info"};
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyz     ;";
    QRandomGenerator random(seed);
    QByteArray out = "{\\rtf1\\ansi ";
    out.reserve(size + 64);
    int depth = 1;
    while (out.size() < size) {
        const int kind = random.bounded(100);
        if (kind < 8 && depth < 200) {
            out += '{';
            ++depth;
            if (random.bounded(40) == 0)
                out += Destinations[random.bounded(int(std::size(Destinations)))];
        } else if (kind < 17 && depth > 1) {
            out += '}';
            --depth;
        } else if (kind < 50) {
            out += '\\';
            out += Words[random.bounded(int(std::size(Words)))];
            switch (random.bounded(4)) {
            case 0:
                break;
            case 1:
                out += QByteArray::number(random.bounded(300));
                break;
            case 2:
                out += QByteArray::number(-random.bounded(100000));
                break;
            default:
                out += QByteArray::number(random.generate64());
            }
            if (random.bounded(2))
                out += ' ';
        } else if (kind < 58) {
            out += "\\'";
            out += QByteArray::number(random.bounded(256), 16).rightJustified(2, '0');
        } else if (kind < 64) {
            out += "\\u" + QByteArray::number(random.bounded(-32768, 65536)) + '?';
        } else if (kind < 66) {
            const int length = random.bounded(64);
            out += "\\bin" + QByteArray::number(length) + ' ';
            for (int i = 0; i < length; ++i)
                out += char(random.bounded(256));
        } else {
            for (int n = random.bounded(1, 30); n > 0; --n)
                out += Letters[random.bounded(int(sizeof Letters - 1))];
        }
    }
    out += QByteArray(depth, '}');
    return out;
}

// A long note: paragraphs of sentences in changing fonts, sizes, styles and
// colours, with some text outside Windows-1252.
void fillNote(QTextDocument &document, qsizetype characters) {
    static const QString Families[] = {u"DejaVu Sans"_s, u"Times New Roman"_s, u"Courier New"_s};
    static const QString Words[] = {u"meeting"_s,  u"caf\u00e9"_s,          u"{braces}"_s,
                                    u"\u20ac12"_s, u"\u0436\u0443\u043a"_s, u"note"_s,
                                    u"tomorrow"_s, u"\u4e2d\u6587"_s};
    QRandomGenerator random(7);
    QTextCursor cursor(&document);
    qsizetype written = 0;
    while (written < characters) {
        if (written > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(random.bounded(4) == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        for (int run = random.bounded(1, 8); run > 0; --run) {
            QTextCharFormat format;
            format.setFontFamilies({Families[random.bounded(3)]});
            format.setFontPointSize(random.bounded(8, 20));
            format.setFontWeight(random.bounded(4) == 0 ? QFont::Bold : QFont::Normal);
            format.setFontItalic(random.bounded(5) == 0);
            format.setFontUnderline(random.bounded(8) == 0);
            if (random.bounded(6) == 0)
                format.setForeground(QColor(QRgb(random.bounded(0x1000000))));
            QString text;
            for (int n = random.bounded(3, 25); n > 0; --n)
                text += Words[random.bounded(int(std::size(Words)))] + u' ';
            cursor.insertText(text, format);
            written += text.size();
        }
    }
}

// A file whose font table holds count fonts, every one used for a word.
QByteArray manyFontsRtf(int count) {
    QByteArray out = "{\\rtf1\\ansi\\deff0{\\fonttbl";
    for (int i = 0; i < count; ++i)
        out += "{\\f" + QByteArray::number(i) + "\\fnil Font " + QByteArray::number(i) + ";}";
    out += "}\r\n";
    for (int i = 0; i < count; ++i)
        out += "\\f" + QByteArray::number(i) + " word" + QByteArray::number(i) + ' ';
    return out + "\\par}";
}

// A file whose colour table holds count colours, every one used for a word.
QByteArray manyColoursRtf(int count) {
    QByteArray out = "{\\rtf1\\ansi{\\colortbl;";
    for (int i = 0; i < count; ++i)
        out += "\\red" + QByteArray::number(i & 255) + "\\green" +
               QByteArray::number((i >> 8) & 255) + "\\blue" + QByteArray::number(i >> 16) + ';';
    out += "}\r\n";
    for (int i = 1; i <= count; ++i)
        out += "\\cf" + QByteArray::number(i) + " word ";
    return out + "\\par}";
}

struct Scaled {
    const char *what;
    std::function<QByteArray(int)> make;
    int small;
};

// Reads and writes of one kind of file at two sizes, four times apart.
void scaling(const std::vector<Scaled> &rows) {
    std::unique_ptr<QTextDocument> document;
    std::vector<QByteArray> files;
    std::vector<Task> tasks;
    for (const Scaled &row : rows)
        for (const int count : {row.small, row.small * 4})
            files.push_back(row.make(count));
    for (const QByteArray &file : files) {
        tasks.push_back({[&] { qm::ReadRtf(file, *document); },
                         [&] { document = std::make_unique<QTextDocument>(); }});
        tasks.push_back({[&] { (void)qm::WriteRtf(*document); },
                         [&] {
                             document = std::make_unique<QTextDocument>();
                             qm::ReadRtf(file, *document);
                         }});
    }
    const std::vector<double> ms = medianMs(tasks);
    for (size_t r = 0; r < rows.size(); ++r)
        for (const int op : {0, 1}) {
            const double small = ms[4 * r + size_t(op)];
            const double large = ms[4 * r + 2 + size_t(op)];
            std::printf("  %-9s %-16s %6d: %8.2f ms %6d: %8.2f ms   x%5.1f\n",
                        op ? "WriteRtf" : "ReadRtf", rows[r].what, rows[r].small, small,
                        rows[r].small * 4, large, large / small);
        }
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QByteArray noise = randomRtf(10 * 1024 * 1024, 1);
    QTextDocument noteSource;
    fillNote(noteSource, 900 * 1000);
    const QByteArray note = qm::WriteRtf(noteSource);
    const QString html = noteSource.toHtml();

    std::unique_ptr<QTextDocument> document;
    const auto fresh = [&] { document = std::make_unique<QTextDocument>(); };
    const auto filled = [&] {
        document = std::make_unique<QTextDocument>();
        qm::ReadRtf(note, *document);
    };
    const std::vector<double> ms = medianMs({
        {[&] { qm::ReadRtf(noise, *document); }, fresh},
        {[&] { qm::ReadRtf(note, *document); }, fresh},
        {[&] { (void)qm::WriteRtf(*document); }, filled},
        {[&] { document->setHtml(html); }, fresh},
        {[&] { (void)document->toHtml(); }, filled},
    });

    std::printf("RTF, median of %d runs (ms)\n", Runs);
    qm::ReadRtf(noise, *document);
    std::printf("Random tokens: %lld bytes, read as %d characters in %d paragraphs\n",
                static_cast<long long>(noise.size()), document->characterCount(),
                document->blockCount());
    std::printf("  %-36s %8.2f ms   %6.1f MB/s\n", "ReadRtf", ms[0], noise.size() / 1e3 / ms[0]);
    std::printf("Note: %lld bytes of RTF, %d paragraphs (%lld bytes as HTML)\n",
                static_cast<long long>(note.size()), noteSource.blockCount(),
                static_cast<long long>(html.toUtf8().size()));
    report("ReadRtf", ms[1], "Qt setHtml", ms[3]);
    report("WriteRtf", ms[2], "Qt toHtml", ms[4]);

    std::printf("Many distinct fonts and colours, median of %d runs\n", Runs);
    scaling({{"fonts", manyFontsRtf, 2000}, {"colours", manyColoursRtf, 20000}});
    return 0;
}
