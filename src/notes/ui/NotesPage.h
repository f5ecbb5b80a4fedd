#pragma once

#include "foundation/ui/Page.h"
#include "notes/NoteFiles.h"

#include <QString>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace qm {

class BackgroundLayout;

// The rich-text note pad: one editor bound to at most one note file, a
// format bar, and New, Open, Save and Print. A bound file is written back
// when the page is left with changes; the editor's modified flag is what the
// close query warns about. Only rich text is bound: plain text is shown
// unbound, and a file holding more than the editor can keep is not written
// over without the user's word.
class NotesPage : public Page {
    Q_OBJECT
public:
    explicit NotesPage(QWidget *parent = nullptr);

    // The full path of the file the notes are bound to; empty when unbound.
    const QString &CurrentNoteFile() const { return m_currentNoteFile; }

    // Each time the page is shown: the font list, size 10, the guard off.
    void PrepareNotesPage();
    // Writes a bound file when the notes were changed since it was read or
    // written; unbound notes stay in the editor. Before the first rewrite of
    // a file with content the editor cannot keep, asks whether to replace it
    // or save under another name; cancelling that leaves the file alone and
    // the notes unbound. Raises FileError when the write fails, leaving
    // everything as it was.
    void SaveNotesOnLeave();
    // Start-up: re-opens the "Last Note File", or says it cannot be found.
    void OpenLastNoteFile();

    void showStep() override { PrepareNotesPage(); }
    void leaveSave() override { SaveNotesOnLeave(); }
    QWidget *focusTarget() override;
    bool hasUnsavedChanges() const override;

    // The format bar follows the selection (and every load).
    void rchNotesSelectionChange();
    void cboFontsChange(const QString &family);
    void txtSizeChange();
    void spnSizeClick(int step);
    void spdStyleClick(QToolButton *button);
    void spdAlignClick(QToolButton *button);

    void cmdNoteNewClick();
    void cmdNoteOpenClick();
    void cmdNoteSaveClick();
    // The save dialog's confirmed name: true lets the dialog close, false
    // keeps it open for another choice (or Cancel).
    bool savNotesCanClose(const QString &chosen, int filterIndex);
    void cmdNotePrintClick();

protected:
    void build() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The page's keys: the format bar's styles, the buttons along the
    // bottom, redo, and the way to the font list and the size box.
    void addShortcuts();
    QToolButton *makeBarButton(QWidget *bar, const QString &name, const QString &picture,
                               const QString &hint, int left);
    struct Loaded {
        NoteFileKind kind;
        RtfLosses notKept;
    };
    // Reads path into the editor when it holds rich text or plain text. When
    // it cannot be read, or holds another program's own format, says so and
    // leaves the editor as it was: then there is nothing.
    std::optional<Loaded> loadNotes(const QString &path);
    // The page after path was read into the editor.
    void showLoaded(const QString &path, const Loaded &loaded);
    // The save dialog, proposing the name preset; true when the notes were
    // written under the name chosen.
    bool runSaveDialog(const QString &preset);
    // Writes the notes to path; raises FileError and changes nothing when it
    // cannot.
    void writeNotes(const QString &path);

    QString m_currentNoteFile;
    // What the bound file holds that the editor could not keep; empty once
    // the user agreed to lose it or the notes page wrote the file.
    RtfLosses m_notKept;
    // The save dialog's name for unbound notes read from a file that is not
    // theirs to write: the file's own name with ".Qmn".
    QString m_proposedName;
    // True only while rchNotesSelectionChange brings the bar up to date: the
    // bar's handlers then leave the text alone.
    bool m_updatingBar = false;
    bool m_clipboardHasText = false;

    QTextEdit *m_editor = nullptr;
    QLabel *m_fileName = nullptr;
    QLabel *m_modified = nullptr;
    QComboBox *m_fonts = nullptr;
    QLineEdit *m_size = nullptr;
    QToolButton *m_undo = nullptr;
    QToolButton *m_cut = nullptr;
    QToolButton *m_copy = nullptr;
    QToolButton *m_paste = nullptr;
    QToolButton *m_bold = nullptr;
    QToolButton *m_italics = nullptr;
    QToolButton *m_underline = nullptr;
    QToolButton *m_leftAlign = nullptr;
    QToolButton *m_centreAlign = nullptr;
    QToolButton *m_rightAlign = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_print = nullptr;
    BackgroundLayout *m_layoutInBackground = nullptr;
};

} // namespace qm
