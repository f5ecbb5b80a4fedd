// Pasting into the notes on a real X display, with the display's own
// clipboard and selection: what a user pastes with Ctrl+V, a middle click or
// the Paste button when something was copied, and when nothing was.
#include "notes/ui/NotesPage.h"
#include "support/FormDriving.h"
#include "support/TestServices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

using namespace Qt::StringLiterals;
using qm::test::child;

class TestNotesPaste : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void paste_data();
    void paste();
};

void TestNotesPaste::initTestCase() {
    if (QGuiApplication::platformName() != u"xcb"_s)
        QSKIP("needs an X display (run through run_under_x.sh)");
}

void TestNotesPaste::paste_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("copied"); // empty: nothing copied anywhere
    QTest::addColumn<QString>("text");
    QTest::newRow("Ctrl+V, nothing copied") << u"keys"_s << QString() << u"Note"_s;
    QTest::newRow("middle click, nothing selected") << u"middle"_s << QString() << u"Note"_s;
    QTest::newRow("Ctrl+V") << u"keys"_s << u" milk"_s << u"Note milk"_s;
    QTest::newRow("middle click") << u"middle"_s << u" bread"_s << u"Note bread"_s;
    QTest::newRow("Paste button") << u"button"_s << u" eggs"_s << u"Note eggs"_s;
}

// Nothing to paste leaves the notes as they were (and the program running);
// copied text goes in at the caret.
void TestNotesPaste::paste() {
    QFETCH(QString, how);
    QFETCH(QString, copied);
    QFETCH(QString, text);
    qm::test::TestServices services;
    qm::NotesPage page;
    page.showStep();
    page.show();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    auto *editor = child<QTextEdit>(&page, u"rchNotes"_s);
    editor->setFocus();
    QTest::keyClicks(editor, u"Note"_s);

    QClipboard *clipboard = QGuiApplication::clipboard();
    const QClipboard::Mode mode =
        how == u"middle"_s ? QClipboard::Selection : QClipboard::Clipboard;
    // Giving up ownership empties the display's clipboard and selection:
    // no program offers anything.
    clipboard->clear(QClipboard::Clipboard);
    clipboard->clear(QClipboard::Selection);
    if (!copied.isEmpty())
        clipboard->setText(copied, mode);
    QTRY_COMPARE(clipboard->text(mode), copied);
    if (copied.isEmpty()) {
        const QMimeData *offered = clipboard->mimeData(mode);
        QVERIFY(!offered || offered->formats().isEmpty());
        QTRY_VERIFY(!child<QToolButton>(&page, u"spdPaste"_s)->isEnabled());
    }

    editor->moveCursor(QTextCursor::End);
    const QPoint end = editor->cursorRect().center();
    if (how == u"keys"_s) {
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    } else if (how == u"middle"_s) {
        QTest::mouseClick(editor->viewport(), Qt::MiddleButton, {}, end);
    } else {
        auto *button = child<QToolButton>(&page, u"spdPaste"_s);
        QTRY_VERIFY(button->isEnabled());
        qm::test::click(&page, u"spdPaste"_s);
    }
    QCOMPARE(editor->toPlainText(), text);
    QCOMPARE(page.hasUnsavedChanges(), true);
}

QTEST_MAIN(TestNotesPaste)
#include "tst_notespaste.moc"