// The note pad over a 2 MB rich-text note with varied formatting: opening it
// into the editor, writing it back when the page is left after a change, and
// one caret move (the format bar follows the caret), which must never make
// typing lag.
//
//   bench_notes    (QT_QPA_PLATFORM=offscreen works; no display needed)

#include "BenchSupport.h"
#include "notes/ui/NotesPage.h"
#include "platform/Services.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace bench;

namespace {

// Paragraphs of words in changing fonts, sizes, styles, colours and
// alignments, some with characters outside Windows-1252, until size bytes.
QByteArray formattedNote(qsizetype size) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Times New "
                     "Roman;}{\\f1\\fnil\\fcharset0 Arial;}{\\f2\\fnil\\fcharset0 Courier "
                     "New;}}{\\colortbl ;\\red200\\green0\\blue0;\\red0\\green120\\blue0;"
                     "\\red255\\green255\\blue0;}\r\n";
    const char *const aligns[] = {"\\ql", "\\qc", "\\qr", "\\qj"};
    const char *const styles[] = {"", "\\b", "\\i", "\\ul", "\\b\\i", "\\strike"};
    for (int paragraph = 0; rtf.size() < size; ++paragraph) {
        rtf += "\\pard";
        rtf += aligns[paragraph % 4];
        for (int run = 0; run < 12; ++run) {
            const int mixed = (paragraph * 31 + run * 7) % 97;
            rtf += "\\plain\\f" + QByteArray::number(mixed % 3) + "\\fs" +
                   QByteArray::number(16 + 2 * (mixed % 9)) + styles[mixed % 6];
            if (mixed % 5 == 0)
                rtf += "\\cf" + QByteArray::number(1 + mixed % 2);
            if (mixed % 11 == 0)
                rtf += "\\highlight3";
            rtf += " Note " + QByteArray::number(paragraph) + " has words in it, caf\\'e9";
            if (mixed % 13 == 0)
                rtf += " \\u8364? \\u1046?";
            rtf += "; ";
        }
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    BenchServices services;

    const QString path = qm::dataFile(u"Big.Qmn"_s);
    const QByteArray note = formattedNote(2 * 1024 * 1024);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(note) != note.size())
        qFatal("cannot write %s", qPrintable(path));
    file.close();
    qm::settingsStore().write(u"Last Note File"_s, path);

    qm::NotesPage page;
    page.resize(qm::Page::Width, qm::Page::Height);
    page.show();
    page.showStep();
    auto *editor = page.findChild<QTextEdit *>(u"rchNotes"_s);

    int caretBlock = 0;
    const std::vector<double> ms = medianMs({
        {[&] { page.OpenLastNoteFile(); }, {}},
        // The text on the screen: the editor lays out what it shows first.
        {[&] {
             page.OpenLastNoteFile();
             editor->viewport()->repaint();
         },
         {}},
        // Only changed notes are written back.
        {[&] { page.SaveNotesOnLeave(); }, [&] { editor->document()->setModified(true); }},
        {[&] {
             // A move into another paragraph, as an arrow key or a click gives.
             QTextCursor cursor(editor->document()->findBlockByNumber(caretBlock));
             editor->setTextCursor(cursor);
         },
         [&] { caretBlock = (caretBlock + 997) % editor->document()->blockCount(); }},
    });
    std::printf("Notes, median of %d runs: %lld bytes, %d paragraphs\n", Runs,
                static_cast<long long>(note.size()), editor->document()->blockCount());
    std::printf("  open into the editor   %8.2f ms  (bound: 150 ms)\n", ms[0]);
    std::printf("  open and first paint   %8.2f ms\n", ms[1]);
    std::printf("  save when leaving      %8.2f ms  (bound: 100 ms)\n", ms[2]);
    std::printf("  caret move             %8.3f ms  (bound: 2 ms)\n", ms[3]);
    return 0;
}
