#pragma once

#include "foundation/ui/Page.h"

#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QToolButton;

namespace qm {

// The rich-text note pad: one editor bound to at most one note file, a
// format bar, and New, Open, Save and Print. A bound file is written
// whenever the page is left; the editor's modified flag is what the close
// query warns about.
class NotesPage : public Page {
    Q_OBJECT
public:
    explicit NotesPage(QWidget *parent = nullptr);

    // The full path of the file the notes are bound to; empty when unbound.
    const QString &CurrentNoteFile() const { return m_currentNoteFile; }

    // Each time the page is shown: the font list, size 10, the guard off.
    void PrepareNotesPage();
    // Writes a bound file (modified or not); unbound notes stay in the editor.
    // Raises FileError when the write fails, leaving everything as it was.
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

private:
    QToolButton *makeBarButton(QWidget *bar, const QString &name, const QString &picture,
                               const QString &hint, int left);
    // Reads path into the editor; false, with the editor as it was, when the
    // file cannot be read.
    bool loadNotes(const QString &path);
    // The editor as it stands after a load from path or a save to it.
    void showBound(const QString &label);
    // Writes the notes to path; raises FileError and changes nothing when it
    // cannot.
    void writeNotes(const QString &path);

    QString m_currentNoteFile;
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
};

} // namespace qm
