// The note pad as a user works it: the file dialogs answered through the
// prompter, the format bar clicked, files checked on the disk.
#include "foundation/Errors.h"
#include "foundation/ui/MsgBox.h"
#include "notes/NoteFiles.h"
#include "notes/Rtf.h"
#include "notes/ui/NotesPage.h"
#include "support/FormDriving.h"
#include "support/SmallDisk.h"
#include "support/TestServices.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using qm::test::child;
using qm::test::click;
using qm::test::ReadBytes;
using qm::test::TestData;
using qm::test::WriteBytes;

namespace {

const QByteArray ShortNote = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs28 Short note\\par}";

// The notes page over the test services, shown as the main window shows it.
struct Pad {
    qm::test::TestServices services;
    qm::NotesPage page;

    Pad() {
        page.showStep();
        page.show();
    }
    QString path(const QString &name) const { return services.dir.filePath(name); }
    QTextEdit *editor() const { return child<QTextEdit>(&page, u"rchNotes"_s); }
    QString label() const { return child<QLabel>(&page, u"lblFileName"_s)->text(); }
    bool modifiedShown() const { return child<QLabel>(&page, u"lblModified"_s)->isVisible(); }
    QLineEdit *sizeBox() const { return child<QLineEdit>(&page, u"txtSize"_s); }
    QToolButton *button(const QString &name) const { return child<QToolButton>(&page, name); }
    void type(const QString &text) {
        editor()->setFocus();
        QTest::keyClicks(editor(), text);
    }
    // The next file dialogs are answered with these names, in turn, each
    // confirmed with the filter; the dialog is cancelled once they run out
    // (a refused name keeps it open for the next one).
    void answerFileDialogs(const QStringList &names, int filterIndex) {
        services.prompter.modalHandler = [names, filterIndex](QDialog &dialog) {
            auto &files = dynamic_cast<QFileDialog &>(dialog);
            files.selectNameFilter(qm::NoteFileFilters().at(filterIndex - 1));
            for (const QString &name : names) {
                files.selectFile(name);
                dialog.accept();
                if (files.result() == QDialog::Accepted)
                    return int(QDialog::Accepted);
            }
            files.reject();
            return int(QDialog::Rejected);
        };
    }
    void openFile(const QString &name, int filterIndex = 2) {
        answerFileDialogs({name}, filterIndex);
        click(&page, u"cmdNoteOpen"_s);
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto &message : services.prompter.messages)
            texts.append(message.text);
        return texts;
    }
};

// The save dialog's answers: the name it proposed is kept in proposed, and
// it is accepted as proposed or cancelled.
std::function<int(QDialog &)> takeProposal(QString &proposed, bool accept) {
    return [&proposed, accept](QDialog &dialog) {
        proposed = dynamic_cast<QFileDialog &>(dialog).selectedFiles().value(0);
        if (accept)
            dialog.accept();
        else
            dialog.reject();
        return dialog.result();
    };
}

} // namespace

class TestNotesPage : public QObject {
    Q_OBJECT
private slots:
    void defaultExtension_data();
    void defaultExtension();
    void noteFileKind_data();
    void noteFileKind();
    void saveThroughTheDialog_data();
    void saveThroughTheDialog();
    void overwriteQuestionKeepsTheDialogOpen();
    void failedWriteChangesNothing_data();
    void failedWriteChangesNothing();
    void open_data();
    void open();
    void plainTextIsNeverWrittenOver();
    void leavingWritesOnlyChangedNotes_data();
    void leavingWritesOnlyChangedNotes();
    void saveProposesANameBesideAFileItCannotKeep();
    void newAndOpenAskAboutModifiedNotes_data();
    void newAndOpenAskAboutModifiedNotes();
    void sizeBox();
    void stylesAndAlignment();
    void printsToPdf();
    void keysOfTheButtons_data();
    void keysOfTheButtons();
    void styleAndUndoKeys();
    void keyboardWayThroughThePage();
};

void TestNotesPage::defaultExtension_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("used");
    QTest::newRow("notes, filter 1") << u"/home/ann/notes"_s << 1 << u"/home/ann/notes.Qmn"_s;
    QTest::newRow("notes, filter 2") << u"/home/ann/notes"_s << 2 << u"/home/ann/notes.Rtf"_s;
    QTest::newRow("notes, filter 3") << u"/home/ann/notes"_s << 3 << u"/home/ann/notes.Doc"_s;
    QTest::newRow("any full stop") << u"/home/ann/notes.txt"_s << 2 << u"/home/ann/notes.txt"_s;
    QTest::newRow("other case kept") << u"/home/ann/notes.QMN"_s << 1 << u"/home/ann/notes.QMN"_s;
    QTest::newRow("full stop in a folder")
        << u"/home/ann.b/notes"_s << 1 << u"/home/ann.b/notes.Qmn"_s;
    QTest::newRow("no such filter") << u"/home/ann/notes"_s << 4 << u"/home/ann/notes"_s;
}

void TestNotesPage::defaultExtension() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QTEST(qm::WithDefaultExtension(chosen, filter), "used");
}

void TestNotesPage::noteFileKind_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qm::NoteFileKind>("kind");
    using Kind = qm::NoteFileKind;
    QTest::newRow("RTF") << QByteArray("{\\rtf1 a}") << Kind::Rtf;
    QTest::newRow("RTF with \\bin data") << QByteArray("{\\rtf1 \\bin2 \0\0}", 14) << Kind::Rtf;
    QTest::newRow("empty") << QByteArray() << Kind::PlainText;
    QTest::newRow("Windows-1252") << TestData(u"notes/shopping.txt"_s) << Kind::PlainText;
    QTest::newRow("UTF-8") << QByteArray("caf\xc3\xa9 {\\rtf1}") << Kind::PlainText;
    QTest::newRow("UTF-16 with its mark") << QByteArray("\xff\xfe"
                                                        "a\0b\0",
                                                        6)
                                          << Kind::PlainText;
    QTest::newRow("UTF-32") << QByteArray("\xff\xfe\0\0a\0\0\0", 8) << Kind::Binary;
    QTest::newRow("NUL far in") << QByteArray(5000, 'a') + '\0' << Kind::Binary;
    QTest::newRow("Word document") << TestData(u"notes/minutes.doc"_s) << Kind::Binary;
    QTest::newRow("office suite (ZIP)") << QByteArray("PK\x03\x04\x14") << Kind::Binary;
    QTest::newRow("PDF of text") << QByteArray("%PDF-1.4\n1 0 obj <<>>") << Kind::Binary;
    QTest::newRow("gzip") << QByteArray("\x1f\x8b\x08") << Kind::Binary;
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1a\n") << Kind::Binary;
}

// Rich text is a note, text is text, and anything holding binary data is
// another program's document, never read as text.
void TestNotesPage::noteFileKind() {
    QFETCH(QByteArray, bytes);
    QTEST(qm::NoteFileKindOf(bytes), "kind");
}

void TestNotesPage::saveThroughTheDialog_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("written");
    QTest::newRow("notes through filter 1") << u"notes"_s << 1 << u"notes.Qmn"_s;
    QTest::newRow("notes.txt through filter 2") << u"notes.txt"_s << 2 << u"notes.txt"_s;
    QTest::newRow("folder with a full stop") << u"my.notes/notes"_s << 3 << u"my.notes/notes.Doc"_s;
    QTest::newRow("folder and name with one")
        << u"my.notes/notes.txt"_s << 1 << u"my.notes/notes.txt"_s;
}

// A confirmed name binds the notes and writes them as rich text; the label
// says "Filename : " after a save.
void TestNotesPage::saveThroughTheDialog() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, written);
    Pad pad;
    QDir(pad.services.dir.path()).mkpath(u"my.notes"_s);
    pad.type(u"Buy {milk} \\ bread"_s);
    QVERIFY(pad.modifiedShown());
    pad.answerFileDialogs({pad.path(chosen)}, filter);
    click(&pad.page, u"cmdNoteSave"_s);

    const QString path = pad.path(written);
    QCOMPARE(pad.page.CurrentNoteFile(), path);
    QCOMPARE(pad.label(), u"Filename : "_s + path);
    QVERIFY(!pad.modifiedShown());
    QVERIFY(!pad.page.hasUnsavedChanges());
    QTextDocument back;
    qm::ReadNoteBytes(ReadBytes(path), back);
    QCOMPARE(back.toPlainText(), u"Buy {milk} \\ bread"_s);
    QVERIFY(ReadBytes(path).startsWith("{\\rtf"));
}

// No to the overwrite question keeps the dialog open and changes nothing;
// cancelling then writes nothing. Yes replaces the file.
void TestNotesPage::overwriteQuestionKeepsTheDialogOpen() {
    Pad pad;
    const QString path = pad.path(u"old.Rtf"_s);
    WriteBytes(path, "old notes");
    pad.type(u"new notes"_s);

    pad.services.prompter.answers = {qm::MessageResult::No};
    pad.answerFileDialogs({path}, 2);
    click(&pad.page, u"cmdNoteSave"_s);
    QCOMPARE(pad.messageTexts(),
             QStringList{u"File "_s + path +
                         u" Already Exists\r\rAre You Sure You Want To Overwrite It?"_s});
    QCOMPARE(pad.services.prompter.messages[0].buttons, int(qm::MessageButtons::YesNo));
    QCOMPARE(ReadBytes(path), QByteArray("old notes"));
    QCOMPARE(pad.page.CurrentNoteFile(), QString());
    QCOMPARE(pad.label(), u"*** Unsaved Notes ***"_s);
    QVERIFY(pad.page.hasUnsavedChanges());

    // No, then another name in the same dialog.
    pad.services.prompter.answers = {qm::MessageResult::No};
    pad.answerFileDialogs({path, pad.path(u"other"_s)}, 2);
    click(&pad.page, u"cmdNoteSave"_s);
    QCOMPARE(pad.page.CurrentNoteFile(), pad.path(u"other.Rtf"_s));

    pad.services.prompter.answers = {qm::MessageResult::Yes};
    pad.answerFileDialogs({path}, 2);
    click(&pad.page, u"cmdNoteSave"_s);
    QCOMPARE(pad.page.CurrentNoteFile(), path);
    QVERIFY(ReadBytes(path).startsWith("{\\rtf"));
}

void TestNotesPage::failedWriteChangesNothing_data() {
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("missing folder") << false;
    QTest::newRow("full disk") << true;
}

// A write that fails is reported with the file and its cause; the old file,
// the bound name, the label and the modified flag stay as they were.
void TestNotesPage::failedWriteChangesNothing() {
    QFETCH(bool, fullDisk);
    Pad pad;
    qm::test::SmallDisk disk(u"64k"_s);
    if (fullDisk && !disk.mounted())
        QSKIP(qPrintable(disk.problem()));
    const QString folder = fullDisk ? disk.folder() : pad.services.dir.path() + u'/';
    const QString bound = folder + u"bound.Qmn"_s;
    WriteBytes(bound, "{\\rtf1 kept}");
    pad.openFile(bound, 1);
    QCOMPARE(pad.page.CurrentNoteFile(), bound);
    const QString labelBefore = pad.label();
    // More than the small disk holds, in a form no compression shrinks.
    QString text;
    for (int i = 0; text.size() < 120000; ++i)
        text += QString::number(i * 7919 % 100003) + u' ';
    pad.type(fullDisk ? u"x"_s : u"more"_s);
    if (fullDisk)
        pad.editor()->insertPlainText(text);
    QVERIFY(pad.page.hasUnsavedChanges());

    if (fullDisk) {
        // Leaving the page writes the bound file.
        bool refused = false;
        try {
            pad.page.SaveNotesOnLeave();
        } catch (const qm::FileError &) {
            refused = true;
        }
        QVERIFY(refused);
    } else {
        const QString missing = pad.path(u"gone/notes.Qmn"_s);
        QVERIFY(!pad.page.savNotesCanClose(missing, 1));
        QCOMPARE(pad.services.prompter.messages.size(), 1);
        QVERIFY2(pad.services.prompter.messages[0].text.contains(missing),
                 qPrintable(pad.services.prompter.messages[0].text));
        QCOMPARE(pad.services.prompter.messages[0].kind, int(qm::MessageKind::Error));
    }
    QCOMPARE(ReadBytes(bound), QByteArray("{\\rtf1 kept}"));
    QCOMPARE(pad.page.CurrentNoteFile(), bound);
    QCOMPARE(pad.label(), labelBefore);
    QVERIFY(pad.page.hasUnsavedChanges());
    QVERIFY(pad.modifiedShown());
}

void TestNotesPage::open_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("filter");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bound");
    QTest::addColumn<QString>("refusal"); // empty: the file opens
    const QString readError = u"Error Reading From File"_s;
    QTest::newRow("rich text") << u"big.Rtf"_s << 2 << u"Short note"_s << true << QString();
    QTest::newRow("extension added")
        << u"plain"_s << 1 << u"just words\nand more"_s << true << QString();
    QTest::newRow("plain text, shown unbound")
        << u"shopping.txt"_s << 2 << u"Milk\nBread\nCr\u00e8me fra\u00eeche\n"_s << false
        << QString();
    QTest::newRow("Word document")
        << u"minutes.doc"_s << 3 << QString() << false
        << u"File %1 Is Neither Rich Text Nor Plain Text\r\rThe Notes Page Can Only Open Rich "
           u"Text (RTF) And Plain Text Files"_s;
    QTest::newRow("missing file") << u"nothing.Rtf"_s << 2 << QString() << false << readError;
    QTest::newRow("a pipe, never read") << u"pipe.Rtf"_s << 2 << QString() << false << readError;
}

// A rich text file that opens replaces the notes and binds them ("File Name
// : "); plain text replaces them unbound. One that cannot be read, or is
// another program's document, says so and leaves everything as it was.
void TestNotesPage::open() {
    QFETCH(QString, chosen);
    QFETCH(int, filter);
    QFETCH(QString, text);
    QFETCH(bool, bound);
    QFETCH(QString, refusal);
    Pad pad;
    WriteBytes(pad.path(u"big.Rtf"_s), ShortNote);
    WriteBytes(pad.path(u"plain.Qmn"_s), "{\\rtf1 just words\\par and more}");
    for (const QString &sample : {u"shopping.txt"_s, u"minutes.doc"_s})
        WriteBytes(pad.path(sample), TestData(u"notes/"_s + sample));
    QVERIFY(::mkfifo(QFile::encodeName(pad.path(u"pipe.Rtf"_s)).constData(), 0600) == 0);
    pad.type(u"typed before"_s);

    pad.services.prompter.answers = {qm::MessageResult::Yes};
    pad.openFile(pad.path(chosen), filter);
    const QString path = qm::WithDefaultExtension(pad.path(chosen), filter);
    if (refusal.isEmpty()) {
        QCOMPARE(pad.editor()->toPlainText(), text);
        QCOMPARE(pad.page.CurrentNoteFile(), bound ? path : QString());
        QCOMPARE(pad.label(), bound ? u"File Name : "_s + path : u"*** Unsaved Notes ***"_s);
        QVERIFY(!pad.page.hasUnsavedChanges());
        QVERIFY(!pad.modifiedShown());
        QVERIFY(child<QPushButton>(&pad.page, u"cmdNoteSave"_s)->isEnabled());
    } else {
        QCOMPARE(pad.messageTexts().last(), QString(refusal).replace(u"%1"_s, path));
        QCOMPARE(pad.services.prompter.messages.last().kind, int(qm::MessageKind::Error));
        QCOMPARE(pad.editor()->toPlainText(), u"typed before"_s);
        QCOMPARE(pad.page.CurrentNoteFile(), QString());
        QCOMPARE(pad.label(), u"*** Unsaved Notes ***"_s);
        QVERIFY(pad.page.hasUnsavedChanges());
    }
}

// Plain text is shown but never bound: leaving the page leaves the file as
// it was, and Save proposes a notes file of the same name beside it.
void TestNotesPage::plainTextIsNeverWrittenOver() {
    Pad pad;
    const QByteArray text = TestData(u"notes/shopping.txt"_s);
    const QString path = pad.path(u"shopping.txt"_s);
    WriteBytes(path, text);
    pad.openFile(path);
    pad.type(u"Eggs "_s);
    pad.page.SaveNotesOnLeave();
    QCOMPARE(ReadBytes(path), text);
    QVERIFY(pad.page.hasUnsavedChanges());

    QString proposed;
    pad.services.prompter.modalHandler = takeProposal(proposed, true);
    click(&pad.page, u"cmdNoteSave"_s);
    const QString notes = pad.path(u"shopping.Qmn"_s);
    QCOMPARE(proposed, notes);
    QCOMPARE(pad.page.CurrentNoteFile(), notes);
    QVERIFY(ReadBytes(notes).startsWith("{\\rtf"));
    QCOMPARE(ReadBytes(path), text);
}

void TestNotesPage::leavingWritesOnlyChangedNotes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");     // to the question before losing content; 0: not asked
    QTest::addColumn<bool>("nameTaken"); // the save dialog after No: proposal taken or cancelled
    QTest::addColumn<QString>("boundAfter");
    QTest::addColumn<bool>("rewritten");
    const int yes = qm::MessageResult::Yes;
    const int no = qm::MessageResult::No;
    QTest::newRow("own note, unchanged")
        << u"own.Qmn"_s << false << 0 << false << u"own.Qmn"_s << false;
    QTest::newRow("own note, changed")
        << u"own.Qmn"_s << true << 0 << false << u"own.Qmn"_s << true;
    QTest::newRow("letter, unchanged")
        << u"letter.rtf"_s << false << 0 << false << u"letter.rtf"_s << false;
    QTest::newRow("letter, Yes replaces it")
        << u"letter.rtf"_s << true << yes << false << u"letter.rtf"_s << true;
    QTest::newRow("letter, No and another name")
        << u"letter.rtf"_s << true << no << true << u"letter.Qmn"_s << false;
    QTest::newRow("letter, No and no name")
        << u"letter.rtf"_s << true << no << false << QString() << false;
}

// Leaving the page writes a bound file only when the notes changed; a file
// holding what the editor cannot keep (a word processor's letter) is first
// asked about, No the default. Yes makes it the notes' own; No saves under
// another name, or, with none given, leaves the file alone and the notes
// unbound and unsaved. No second question either way.
void TestNotesPage::leavingWritesOnlyChangedNotes() {
    QFETCH(QString, file);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, nameTaken);
    QFETCH(QString, boundAfter);
    QFETCH(bool, rewritten);
    Pad pad;
    const QString path = pad.path(file);
    const QByteArray before = file == u"own.Qmn"_s ? ShortNote : TestData(u"notes/letter.rtf"_s);
    WriteBytes(path, before);
    pad.openFile(path);
    if (edited)
        pad.type(u"Hello "_s);
    pad.services.prompter.messages.clear();
    if (answer)
        pad.services.prompter.answers = {answer};
    QString proposed;
    pad.services.prompter.modalHandler = takeProposal(proposed, nameTaken);
    pad.page.SaveNotesOnLeave();

    if (answer) {
        QCOMPARE(pad.messageTexts(),
                 QStringList{path + u" Holds Pictures, Tables, Headers And Footers, Footnotes And "
                                    u"Bookmarks That The Notes Page Cannot Keep. Saving Your "
                                    u"Changes Into It Would Lose Them.\r\rDo You Want To Replace "
                                    u"It Anyway?"_s});
        QCOMPARE(pad.services.prompter.messages[0].defaultResult, int(qm::MessageResult::No));
    } else {
        QCOMPARE(pad.messageTexts(), QStringList());
    }
    QCOMPARE(proposed, answer == qm::MessageResult::No ? pad.path(u"letter.Qmn"_s) : QString());
    const QString bound = boundAfter.isEmpty() ? QString() : pad.path(boundAfter);
    QCOMPARE(pad.page.CurrentNoteFile(), bound);
    QCOMPARE(pad.label(), bound.isEmpty() ? u"*** Unsaved Notes ***"_s
                          : edited        ? u"Filename : "_s + bound
                                          : u"File Name : "_s + bound);
    QCOMPARE(pad.page.hasUnsavedChanges(), bound.isEmpty());
    if (edited) {
        pad.type(u"again "_s);
        pad.services.prompter.messages.clear();
        pad.page.SaveNotesOnLeave();
        QCOMPARE(pad.messageTexts(), QStringList());
        if (!bound.isEmpty())
            QVERIFY(ReadBytes(bound).contains("Hello again "));
    }
    QCOMPARE(ReadBytes(path) != before, rewritten);
}

// Save proposes a notes file beside a file the editor cannot keep; choosing
// that file itself asks the question above, and No keeps the dialog open.
void TestNotesPage::saveProposesANameBesideAFileItCannotKeep() {
    Pad pad;
    const QString path = pad.path(u"letter.rtf"_s);
    WriteBytes(path, TestData(u"notes/letter.rtf"_s));
    pad.openFile(path);
    pad.type(u"Hello "_s);
    pad.services.prompter.answers = {qm::MessageResult::No};
    QString proposed;
    pad.services.prompter.modalHandler = [&](QDialog &dialog) {
        auto &files = dynamic_cast<QFileDialog &>(dialog);
        proposed = files.selectedFiles().value(0);
        files.selectFile(path);
        dialog.accept();
        const int result = dialog.result();
        dialog.reject();
        return result;
    };
    click(&pad.page, u"cmdNoteSave"_s);
    QCOMPARE(proposed, pad.path(u"letter.Qmn"_s));
    QCOMPARE(pad.messageTexts().size(), 1);
    QVERIFY(pad.messageTexts()[0].startsWith(path + u" Holds Pictures"_s));
    QCOMPARE(ReadBytes(path), TestData(u"notes/letter.rtf"_s));
    QCOMPARE(pad.page.CurrentNoteFile(), path);
}

void TestNotesPage::newAndOpenAskAboutModifiedNotes_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("goesOn");
    const QString newQuestion =
        u"Your Current Notes Have Not Been Saved. If You Create New Notes, You Will Loose "
        u"These\r\rAre You Sure You Want To Do This?"_s;
    const QString openQuestion =
        u"Your Current Notes Have Not Been Saved. If You Open Another File You Will Loose The "
        u"Current Notes\r\rAre You Sure You Want To Do This?"_s;
    QTest::newRow("new, saved notes") << u"cmdNoteNew"_s << false << 0 << QString() << true;
    QTest::newRow("new, No") << u"cmdNoteNew"_s << true << int(qm::MessageResult::No) << newQuestion
                             << false;
    QTest::newRow("new, Yes") << u"cmdNoteNew"_s << true << int(qm::MessageResult::Yes)
                              << newQuestion << true;
    QTest::newRow("open, saved notes") << u"cmdNoteOpen"_s << false << 0 << QString() << true;
    QTest::newRow("open, No") << u"cmdNoteOpen"_s << true << int(qm::MessageResult::No)
                              << openQuestion << false;
}

// New and Open ask before modified notes are lost; No leaves everything as
// it was. New unbinds the notes.
void TestNotesPage::newAndOpenAskAboutModifiedNotes() {
    QFETCH(QString, button);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(QString, question);
    QFETCH(bool, goesOn);
    Pad pad;
    const QString bound = pad.path(u"bound.Rtf"_s);
    WriteBytes(bound, ShortNote);
    pad.openFile(bound);
    if (modified)
        pad.type(u" more"_s);
    const QString textBefore = pad.editor()->toPlainText();
    pad.services.prompter.messages.clear();
    pad.services.prompter.modalRuns = 0;
    pad.services.prompter.modalHandler = {};
    if (answer)
        pad.services.prompter.answers = {answer};
    click(&pad.page, button);

    QCOMPARE(pad.messageTexts(), question.isEmpty() ? QStringList() : QStringList{question});
    // Enter answers No: the notes are thrown away only by a deliberate Yes.
    if (!question.isEmpty())
        QCOMPARE(pad.services.prompter.messages[0].defaultResult, int(qm::MessageResult::No));
    if (button == u"cmdNoteOpen"_s) {
        QCOMPARE(pad.services.prompter.modalRuns, goesOn ? 1 : 0);
    } else if (goesOn) {
        QCOMPARE(pad.editor()->toPlainText(), QString());
        QCOMPARE(pad.page.CurrentNoteFile(), QString());
        QCOMPARE(pad.label(), u"*** Unsaved Notes ***"_s);
        QVERIFY(!pad.page.hasUnsavedChanges());
        QVERIFY(!child<QPushButton>(&pad.page, u"cmdNoteSave"_s)->isEnabled());
        QVERIFY(!child<QPushButton>(&pad.page, u"cmdNotePrint"_s)->isEnabled());
    }
    if (!goesOn || button == u"cmdNoteOpen"_s) {
        QCOMPARE(pad.editor()->toPlainText(), textBefore);
        QCOMPARE(pad.page.CurrentNoteFile(), bound);
        QCOMPARE(pad.page.hasUnsavedChanges(), modified);
    }
}

// The size box follows the caret, refuses sizes above 32 with a warning,
// takes digits only; the spinner keeps within 8 to 32.
void TestNotesPage::sizeBox() {
    Pad pad;
    WriteBytes(pad.path(u"huge.Rtf"_s), "{\\rtf1\\ansi\\fs72 Huge}");
    pad.openFile(pad.path(u"huge.Rtf"_s));
    // Loading moves the caret into text of size 36.
    QCOMPARE(pad.messageTexts(), QStringList{u"You Cannot Choose A Font Size Bigger Than 32\r\r"
                                             u"The Font Size Will Now Be Set To 32"_s});
    QCOMPARE(pad.services.prompter.messages[0].kind, int(qm::MessageKind::Warning));
    QCOMPARE(pad.sizeBox()->text(), u"32"_s);
    QTextCursor cursor(pad.editor()->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(cursor.charFormat().fontPointSize(), 36.0);
    QVERIFY(!pad.page.hasUnsavedChanges());

    // Selecting the text is another move into it; then typing a size applies
    // it to the selection, and a letter is refused.
    pad.editor()->selectAll();
    QCOMPARE(pad.messageTexts().size(), 2);
    pad.sizeBox()->selectAll();
    QTest::keyClicks(pad.sizeBox(), u"x5"_s);
    QCOMPARE(pad.sizeBox()->text(), u"5"_s);
    cursor = QTextCursor(pad.editor()->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    QCOMPARE(cursor.charFormat().fontPointSize(), 5.0);

    // The spinner goes no lower than 8 (5 - 1 is refused, as is 7 from 8)
    // and no higher than 32.
    click(&pad.page, u"spnSizeDown"_s);
    QCOMPARE(pad.sizeBox()->text(), u"5"_s);
    pad.sizeBox()->setText(u"9"_s);
    click(&pad.page, u"spnSizeDown"_s);
    click(&pad.page, u"spnSizeDown"_s);
    QCOMPARE(pad.sizeBox()->text(), u"8"_s);
    pad.sizeBox()->setText(u"31"_s);
    click(&pad.page, u"spnSizeUp"_s);
    click(&pad.page, u"spnSizeUp"_s);
    QCOMPARE(pad.sizeBox()->text(), u"32"_s);
    QCOMPARE(pad.messageTexts().size(), 2);
}

// Style buttons change their own style of the selection only; the alignment
// buttons are one group where a click on the pressed one releases it and
// the paragraph keeps that alignment.
void TestNotesPage::stylesAndAlignment() {
    Pad pad;
    pad.type(u"Some words"_s);
    pad.editor()->selectAll();
    click(&pad.page, u"spdItalics"_s);
    click(&pad.page, u"spdBold"_s);
    QTextCursor cursor(pad.editor()->document());
    cursor.movePosition(QTextCursor::NextCharacter);
    QVERIFY(cursor.charFormat().fontItalic());
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
    click(&pad.page, u"spdItalics"_s);
    cursor.movePosition(QTextCursor::NextCharacter);
    QVERIFY(!cursor.charFormat().fontItalic());
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));

    pad.editor()->moveCursor(QTextCursor::End);
    QVERIFY(pad.button(u"spdLeftAlign"_s)->isChecked());
    QVERIFY(pad.button(u"spdBold"_s)->isChecked());
    QVERIFY(!pad.button(u"spdItalics"_s)->isChecked());
    click(&pad.page, u"spdCentreAlign"_s);
    QVERIFY(pad.button(u"spdCentreAlign"_s)->isChecked());
    QVERIFY(!pad.button(u"spdLeftAlign"_s)->isChecked());
    click(&pad.page, u"spdCentreAlign"_s);
    for (const QString &name : {u"spdLeftAlign"_s, u"spdCentreAlign"_s, u"spdRightAlign"_s})
        QVERIFY2(!pad.button(name)->isChecked(), qPrintable(name));
    QCOMPARE(pad.editor()->document()->firstBlock().blockFormat().alignment() &
                 Qt::AlignHorizontal_Mask,
             Qt::AlignHCenter);
    click(&pad.page, u"spdRightAlign"_s);
    pad.editor()->moveCursor(QTextCursor::Start);
    QVERIFY(pad.button(u"spdRightAlign"_s)->isChecked());
}

// Print goes through the print dialog; printing to a PDF file gives the
// notes' text under the document title.
void TestNotesPage::printsToPdf() {
    const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (pdftotext.isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    Pad pad;
    pad.type(u"Remember the milk"_s);
    const QString pdf = pad.path(u"notes.pdf"_s);
    QString title;
    pad.services.prompter.modalHandler = [&](QDialog &dialog) {
        auto &print = dynamic_cast<QPrintDialog &>(dialog);
        title = print.printer()->docName();
        print.printer()->setOutputFormat(QPrinter::PdfFormat);
        print.printer()->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    click(&pad.page, u"cmdNotePrint"_s);
    QCOMPARE(title, u"Quillmate - Notes"_s);
    QProcess text;
    text.start(pdftotext, {pdf, u"-"_s});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.startsWith(u"Remember the milk\n"_s), qPrintable(printed));
}

void TestNotesPage::keysOfTheButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("dialog"); // empty: New, which clears the notes
    QTest::newRow("Ctrl+N") << int(Qt::Key_N) << QString();
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << u"opnNotes"_s;
    QTest::newRow("Ctrl+S") << int(Qt::Key_S) << u"savNotes"_s;
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << u"prnSelect"_s;
}

// The buttons along the bottom have their keys while the user types.
void TestNotesPage::keysOfTheButtons() {
    QFETCH(int, key);
    QFETCH(QString, dialog);
    Pad pad;
    QApplication::setActiveWindow(&pad.page);
    pad.type(u"Typed"_s);
    pad.page.SaveNotesOnLeave();
    pad.editor()->document()->setModified(false);
    QString shown;
    pad.services.prompter.modalHandler = [&shown](QDialog &run) {
        shown = run.objectName();
        return int(QDialog::Rejected);
    };
    QTest::keyClick(pad.editor(), Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(shown, dialog);
    QCOMPARE(pad.editor()->toPlainText(), dialog.isEmpty() ? QString() : u"Typed"_s);
}

// Ctrl+B, Ctrl+I and Ctrl+U work as the style buttons on the selection;
// Ctrl+Z takes back a change and Ctrl+Y brings it back.
void TestNotesPage::styleAndUndoKeys() {
    Pad pad;
    QApplication::setActiveWindow(&pad.page);
    pad.type(u"Words"_s);
    pad.editor()->selectAll();
    for (const Qt::Key key : {Qt::Key_B, Qt::Key_I, Qt::Key_U, Qt::Key_I})
        QTest::keyClick(pad.editor(), key, Qt::ControlModifier);
    const auto format = [&pad] {
        QTextCursor cursor(pad.editor()->document());
        cursor.movePosition(QTextCursor::NextCharacter);
        return cursor.charFormat();
    };
    QCOMPARE(format().fontWeight(), int(QFont::Bold));
    QVERIFY(!format().fontItalic());
    QVERIFY(format().fontUnderline());
    QVERIFY(pad.button(u"spdBold"_s)->isChecked());
    QVERIFY(pad.button(u"spdUnderline"_s)->isChecked());

    QTest::keyClick(pad.editor(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(format().fontItalic());
    QTest::keyClick(pad.editor(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(!format().fontItalic());
    QCOMPARE(pad.editor()->toPlainText(), u"Words"_s);
}

// Tab types a tab; Ctrl+Tab leaves the text and Ctrl+Shift+Tab comes back.
// Ctrl+Shift+F and Ctrl+Shift+P reach the font list and the size box, where
// Enter applies the font or size and goes back to the text, saving nothing.
void TestNotesPage::keyboardWayThroughThePage() {
    Pad pad;
    QApplication::setActiveWindow(&pad.page);
    QTextEdit *editor = pad.editor();
    pad.type(u"a"_s);
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(editor->toPlainText(), u"a\t"_s);
    QTest::keyClick(editor, Qt::Key_Tab, Qt::ControlModifier);
    QWidget *next = QApplication::focusWidget();
    QVERIFY(next && next != editor && pad.page.isAncestorOf(next));
    QTest::keyClick(next, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), editor);
    QCOMPARE(editor->toPlainText(), u"a\t"_s);

    int dialogs = 0;
    pad.services.prompter.modalHandler = [&dialogs](QDialog &) {
        ++dialogs;
        return int(QDialog::Rejected);
    };
    auto *fonts = child<QComboBox>(&pad.page, u"cboFonts"_s);
    fonts->addItem(u"Courier New"_s);
    QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), fonts);
    fonts->setCurrentIndex(fonts->count() - 1);
    QTest::keyClick(fonts, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), editor);

    QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), pad.sizeBox());
    pad.sizeBox()->selectAll();
    QTest::keyClicks(pad.sizeBox(), u"14"_s);
    QTest::keyClick(pad.sizeBox(), Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), editor);
    QTest::keyClicks(editor, u"b"_s);
    QTextCursor typed(editor->document());
    typed.movePosition(QTextCursor::End);
    QCOMPARE(typed.charFormat().fontPointSize(), 14.0);
    QCOMPARE(typed.charFormat().fontFamilies().toStringList(), QStringList{u"Courier New"_s});
    QCOMPARE(dialogs, 0);
}

QTEST_MAIN(TestNotesPage)
#include "tst_notespage.moc"
