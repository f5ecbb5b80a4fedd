#include "notes/ui/NotesPage.h"

#include "foundation/BusyScope.h"
#include "foundation/Errors.h"
#include "foundation/Program.h"
#include "foundation/RecordFile.h"
#include "foundation/Settings.h"
#include "foundation/Text.h"
#include "foundation/ui/Controls.h"
#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/HelpTopics.h"
#include "foundation/ui/MsgBox.h"
#include "foundation/ui/Printing.h"
#include "foundation/ui/Styling.h"
#include "foundation/ui/SvgPicture.h"
#include "notes/NoteFiles.h"
#include "notes/Rtf.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

const QString UnsavedNotesCaption = u"*** Unsaved Notes ***"_s;
const QString OpenedLabel = u"File Name : "_s;
const QString SavedLabel = u"Filename : "_s;
const QString NewQuestion =
    u"Your Current Notes Have Not Been Saved. If You Create New Notes, You Will Loose These\r\r"
    u"Are You Sure You Want To Do This?"_s;
const QString OpenQuestion = u"Your Current Notes Have Not Been Saved. If You Open Another File "
                             u"You Will Loose The Current Notes\r\rAre You Sure You Want To Do "
                             u"This?"_s;
const QString ReadErrorMessage = u"Error Reading From File"_s;
const QString SizeTooBigMessage = u"You Cannot Choose A Font Size Bigger Than 32\r\r"
                                  u"The Font Size Will Now Be Set To 32"_s;
const QString SaveDialogTitle = u"Quillmate Notes"_s;
const QString DesignFontFamily = u"Times New Roman"_s;
constexpr int DesignFontSize = 9;
const QString PreparedFontSize = u"10"_s;

QString OverwriteQuestion(const QString &path) {
    return u"File "_s + path + u" Already Exists"_s + u"\r\r"_s +
           u"Are You Sure You Want To Overwrite It?"_s;
}

QString MissingLastFileMessage(const QString &path) {
    return u"Your Last Opened Note File Was "_s + path + u" - "_s + ProgramTitle() +
           u" Is Unable To Find This File"_s + u"\r\r"_s + u"It Therefore Cannot Be Opened"_s;
}

QString NotNotesMessage(const QString &path) {
    return u"File "_s + path + u" Is Neither Rich Text Nor Plain Text"_s + u"\r\r"_s +
           u"The Notes Page Can Only Open Rich Text (RTF) And Plain Text Files"_s;
}

QString NotKeptQuestion(const QString &path, RtfLosses notKept) {
    return path + u" Holds "_s + LossNames(notKept) +
           u" That The Notes Page Cannot Keep. Saving Your Changes Into It Would Lose Them."_s +
           u"\r\r"_s + u"Do You Want To Replace It Anyway?"_s;
}

// Where everything sits: the format bar across the top, the file name and
// the modified mark under it, the editor filling the middle and the buttons
// along the bottom.
constexpr int Margin = 8;
constexpr int BarTop = 8;
constexpr int BarHeight = 24;
constexpr int BarButton = 24;
constexpr int LabelTop = BarTop + BarHeight + 6;
constexpr int LabelHeight = 18;
constexpr int EditorTop = LabelTop + LabelHeight + 2;
constexpr int EditorBottom = NotesPage::Height - 45;
constexpr int ButtonWidth = 75;

// The alignment values of the three alignment buttons.
enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

Qt::Alignment ToQtAlignment(int value) {
    switch (value) {
    case AlignRight:
        return Qt::AlignRight;
    case AlignCentre:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// Qt 6.4's text control takes the first format of whatever it is handed to
// paste without asking whether there is one. An empty clipboard or selection
// (nothing copied, or the program that offered it has closed) hands it none,
// and Ctrl+V or a middle click would end the program with the notes
// unsaved: nothing to paste is refused before it gets there.
//
// Tab types a tab into the notes, so Ctrl+Tab and Ctrl+Shift+Tab are the way
// out of the text to the next control and back.
class NotesEditor final : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    bool event(QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() & Qt::ControlModifier) {
                // The text edit's own step refuses while Tab types a tab.
                if (key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier))
                    return QWidget::focusNextPrevChild(true);
                if (key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Tab)
                    return QWidget::focusNextPrevChild(false);
            }
        }
        return QTextEdit::event(event);
    }
    bool canInsertFromMimeData(const QMimeData *source) const override {
        return holdsAnything(source) && QTextEdit::canInsertFromMimeData(source);
    }
    void insertFromMimeData(const QMimeData *source) override {
        if (holdsAnything(source))
            QTextEdit::insertFromMimeData(source);
    }

private:
    static bool holdsAnything(const QMimeData *source) {
        return source && !source->formats().isEmpty();
    }
};

// The open and save dialogs. The program's own dialog is used on every
// system, so the save dialog can be kept open when the chosen name is
// refused, and the program asks the overwrite question itself.
class NoteFileDialog final : public QFileDialog {
public:
    // Asked when the user confirms a name: true lets the dialog close.
    using CanClose = std::function<bool(const QString &path, int filterIndex)>;

    NoteFileDialog(QWidget *parent, const QString &name, const QString &title, AcceptMode mode,
                   const QString &preset, CanClose canClose = {})
        : QFileDialog(parent, title), m_canClose(std::move(canClose)) {
        setObjectName(name);
        setOption(DontUseNativeDialog);
        setOption(DontConfirmOverwrite);
        setAcceptMode(mode);
        setFileMode(AnyFile);
        setNameFilters(NoteFileFilters());
        if (!preset.isEmpty())
            selectFile(preset);
    }

    QString chosenPath() const { return selectedFiles().value(0); }
    int filterIndex() const { return int(NoteFileFilters().indexOf(selectedNameFilter())) + 1; }

    void accept() override {
        // A folder is opened in the dialog, as the dialog itself does.
        const QString chosen = chosenPath();
        if (m_canClose && !QFileInfo(chosen).isDir() && !m_canClose(chosen, filterIndex()))
            return;
        QFileDialog::accept();
    }

private:
    CanClose m_canClose;
};

} // namespace

// The editor's text laid out a little at a time while the program waits for
// the user. The text layout lays out what is on show first, but then lays
// out the rest in steps of up to 200,000 characters, each holding up the
// program for a good part of a second with a long note: typing, scrolling
// and page changes wait for it. Here the rest is laid out paragraph by
// paragraph in slices of a few milliseconds, and the layout's own steps are
// held back meanwhile; the last slice ends its run as its own steps would.
class BackgroundLayout final : public QObject {
public:
    explicit BackgroundLayout(QTextEdit *editor) : QObject(editor), m_editor(editor) {
        m_slice.setSingleShot(true);
        m_slice.setInterval(0);
        connect(&m_slice, &QTimer::timeout, this, [this] { layOutSlice(); });
        editor->viewport()->installEventFilter(this);
    }

    // From the first paragraph: what is laid out already costs next to
    // nothing to pass over.
    void start() {
        if (m_layout != m_editor->document()->documentLayout()) {
            m_layout = m_editor->document()->documentLayout();
            m_layout->installEventFilter(this);
        }
        m_position = 0;
        if (m_editor->isVisible())
            m_slice.start();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_layout)
            return event->type() == QEvent::Timer && m_slice.isActive();
        // Shown or resized, the editor lays its text out afresh.
        if (event->type() == QEvent::Resize || event->type() == QEvent::Show)
            start();
        return false;
    }

private:
    void layOutSlice() {
        constexpr qint64 SliceNs = 4'000'000;
        QElapsedTimer time;
        time.start();
        QTextDocument *document = m_editor->document();
        QTextBlock block = document->findBlock(m_position);
        while (block.isValid() && time.nsecsElapsed() < SliceNs) {
            m_layout->blockBoundingRect(block);
            block = block.next();
        }
        if (!block.isValid())
            return;
        m_position = block.position();
        m_slice.start();
    }

    QTextEdit *m_editor;
    QAbstractTextDocumentLayout *m_layout = nullptr;
    QTimer m_slice;
    int m_position = 0;
};

NotesPage::NotesPage(QWidget *parent) : Page(u"tabNotes"_s, parent) {
    SetHelpTopic(this, HelpTopic::Notes);
}

QToolButton *NotesPage::makeBarButton(QWidget *bar, const QString &name, const QString &picture,
                                      const QString &hint, int left) {
    auto *button = new QToolButton(bar);
    button->setObjectName(name);
    button->setIcon(SvgIcon(u":/notes/"_s + picture + u".svg"_s, QSize(16, 16)));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    // Like speed buttons they never take the focus from the editor.
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(hint);
    button->setGeometry(left, 0, BarButton, BarHeight);
    return button;
}

void NotesPage::build() {
    QWidget *back = background();

    auto *bar = new QWidget(back);
    bar->setObjectName(u"tolOptions"_s);
    bar->setGeometry(Margin, BarTop, Width - 2 * Margin, BarHeight);
    int left = 0;
    m_undo = makeBarButton(bar, u"spdUndo"_s, u"edit_undo"_s, u"Undo Last Change"_s, left);
    m_cut = makeBarButton(bar, u"spdCut"_s, u"edit_cut"_s,
                          u"|Cut Selected Text And Copy It To Clipboard"_s, left += BarButton);
    m_copy = makeBarButton(bar, u"spdCopy"_s, u"edit_copy"_s, u"Copy Selected Text To Clipboard"_s,
                           left += BarButton);
    m_paste = makeBarButton(bar, u"spdPaste"_s, u"edit_paste"_s, u"Paste Text From Clipboard"_s,
                            left += BarButton);
    m_cut->setEnabled(false);
    m_copy->setEnabled(false);

    left += BarButton + 8;
    m_fonts = new QComboBox(bar);
    m_fonts->setObjectName(u"cboFonts"_s);
    m_fonts->setEditable(false);
    m_fonts->setGeometry(left, 1, 150, BarHeight - 2);
    left += 150 + 6;
    m_size = new QLineEdit(bar);
    m_size->setObjectName(u"txtSize"_s);
    m_size->setMaxLength(2);
    m_size->setAlignment(Qt::AlignRight);
    m_size->setGeometry(left, 1, 28, BarHeight - 2);
    m_size->installEventFilter(this);
    left += 28;
    auto *spinner = new QWidget(bar);
    spinner->setObjectName(u"spnSize"_s);
    spinner->setGeometry(left, 1, 16, BarHeight - 2);
    const struct {
        QString name;
        Qt::ArrowType arrow;
        int step;
    } spinButtons[] = {{u"spnSizeUp"_s, Qt::UpArrow, 1}, {u"spnSizeDown"_s, Qt::DownArrow, -1}};
    for (const auto &spin : spinButtons) {
        auto *button = new QToolButton(spinner);
        button->setObjectName(spin.name);
        button->setArrowType(spin.arrow);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(0, spin.step > 0 ? 0 : (BarHeight - 2) / 2, 16, (BarHeight - 2) / 2);
        connect(button, &QToolButton::clicked, this,
                Reported([this, step = spin.step] { spnSizeClick(step); }));
    }

    left += 16 + 8;
    m_bold = makeBarButton(bar, u"spdBold"_s, u"style_bold"_s, u"Toggle Bold Text"_s, left);
    m_italics = makeBarButton(bar, u"spdItalics"_s, u"style_italic"_s, u"Toggle Italic Text"_s,
                              left += BarButton);
    m_underline = makeBarButton(bar, u"spdUnderline"_s, u"style_underline"_s,
                                u"Toggle Underlined Text"_s, left += BarButton);
    left += BarButton + 8;
    m_leftAlign =
        makeBarButton(bar, u"spdLeftAlign"_s, u"align_left"_s, u"Align Text Left"_s, left);
    m_centreAlign = makeBarButton(bar, u"spdCentreAlign"_s, u"align_centre"_s,
                                  u"Align Text Centred"_s, left += BarButton);
    m_rightAlign = makeBarButton(bar, u"spdRightAlign"_s, u"align_right"_s, u"Align Text Right"_s,
                                 left += BarButton);
    m_leftAlign->setProperty("alignment", int(AlignLeft));
    m_centreAlign->setProperty("alignment", int(AlignCentre));
    m_rightAlign->setProperty("alignment", int(AlignRight));
    for (QToolButton *toggle :
         {m_bold, m_italics, m_underline, m_leftAlign, m_centreAlign, m_rightAlign})
        toggle->setCheckable(true);

    m_fileName = MakeLabel(back, u"lblFileName"_s, UnsavedNotesCaption,
                           QRect(Margin, LabelTop, Width - 2 * Margin - 70, LabelHeight));
    m_fileName->setTextFormat(Qt::PlainText);
    m_fileName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_modified = MakeLabel(back, u"lblModified"_s, u"Modified"_s,
                           QRect(Width - Margin - 64, LabelTop, 64, LabelHeight));
    m_modified->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_modified->hide();

    m_editor = new NotesEditor(back);
    m_editor->setObjectName(u"rchNotes"_s);
    m_editor->setGeometry(Margin, EditorTop, Width - 2 * Margin, EditorBottom - EditorTop);
    m_editor->setAcceptRichText(true);
    m_editor->setTabChangesFocus(false);
    m_editor->document()->setDefaultFont(QFont(DesignFontFamily, DesignFontSize));
    m_layoutInBackground = new BackgroundLayout(m_editor);

    const struct {
        QPushButton **button;
        QString name, caption, hint;
        int imageIndex;
        void (NotesPage::*click)();
    } commands[] = {
        {nullptr, u"cmdNoteNew"_s, u"&New"_s, u"Create New Note"_s, 0, &NotesPage::cmdNoteNewClick},
        {nullptr, u"cmdNoteOpen"_s, u"&Open"_s, u"Open File And Show Contents In Note Pad"_s, 0,
         &NotesPage::cmdNoteOpenClick},
        {&m_save, u"cmdNoteSave"_s, u"&Save"_s, u"Save Note Text"_s, 12,
         &NotesPage::cmdNoteSaveClick},
        {&m_print, u"cmdNotePrint"_s, u"&Print"_s, u"Print Note Pad Contents"_s, 2,
         &NotesPage::cmdNotePrintClick},
    };
    left = Margin;
    for (const auto &command : commands) {
        QPushButton *button =
            MakeButton(back, command.name, command.caption, command.hint, command.imageIndex);
        button->setGeometry(left, Height - 35, ButtonWidth, 25);
        left += ButtonWidth + 6;
        connect(button, &QPushButton::clicked, this,
                Reported([this, click = command.click] { (this->*click)(); }));
        if (command.button)
            *command.button = button;
    }
    // The image list has no New or Open picture: the page brings its own.
    findChild<QPushButton *>(u"cmdNoteNew"_s)
        ->setIcon(SvgIcon(u":/notes/button_new.svg"_s, QSize(16, 16)));
    findChild<QPushButton *>(u"cmdNoteOpen"_s)
        ->setIcon(SvgIcon(u":/notes/button_open.svg"_s, QSize(16, 16)));
    m_save->setEnabled(false);
    m_print->setEnabled(false);
    addCloseButton(u"cmdNotesClose"_s)->setProperty(ImageIndexProperty, 6);

    connect(m_undo, &QToolButton::clicked, this, Reported([this] { m_editor->undo(); }));
    connect(m_cut, &QToolButton::clicked, this, Reported([this] { m_editor->cut(); }));
    connect(m_copy, &QToolButton::clicked, this, Reported([this] { m_editor->copy(); }));
    connect(m_paste, &QToolButton::clicked, this, Reported([this] { m_editor->paste(); }));
    connect(m_fonts, &QComboBox::textActivated, this,
            Reported([this](const QString &family) { cboFontsChange(family); }));
    connect(m_size, &QLineEdit::textChanged, this, Reported([this] { txtSizeChange(); }));
    for (QToolButton *style : {m_bold, m_italics, m_underline})
        connect(style, &QToolButton::clicked, this,
                Reported([this, style] { spdStyleClick(style); }));
    for (QToolButton *align : {m_leftAlign, m_centreAlign, m_rightAlign})
        connect(align, &QToolButton::clicked, this,
                Reported([this, align] { spdAlignClick(align); }));
    connect(m_editor, &QTextEdit::cursorPositionChanged, this,
            Reported([this] { rchNotesSelectionChange(); }));
    connect(m_editor, &QTextEdit::selectionChanged, this,
            Reported([this] { rchNotesSelectionChange(); }));
    // Asking the clipboard on every caret move would wait on the desktop;
    // it says when its content changes.
    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto clipboardChanged = [this, clipboard] {
        const QMimeData *data = clipboard->mimeData();
        m_clipboardHasText = data && data->hasText();
        m_paste->setEnabled(m_clipboardHasText);
    };
    connect(clipboard, &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();

    addShortcuts();

    QWidget::setTabOrder(m_fonts, m_size);
    QWidget::setTabOrder(m_size, m_editor);
    m_fonts->installEventFilter(this);
}

void NotesPage::addShortcuts() {
    const auto press = [](QAbstractButton *button) {
        return [button] {
            if (button->isEnabled())
                button->click();
        };
    };
    const auto focus = [](QWidget *box) {
        return [box] { box->setFocus(Qt::ShortcutFocusReason); };
    };
    const auto button = [this](const QString &name) { return findChild<QAbstractButton *>(name); };
    const struct {
        QKeySequence key;
        std::function<void()> run;
    } keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_B), press(m_bold)},
        {QKeySequence(Qt::CTRL | Qt::Key_I), press(m_italics)},
        {QKeySequence(Qt::CTRL | Qt::Key_U), press(m_underline)},
        {QKeySequence(Qt::CTRL | Qt::Key_N), press(button(u"cmdNoteNew"_s))},
        {QKeySequence(Qt::CTRL | Qt::Key_O), press(button(u"cmdNoteOpen"_s))},
        {QKeySequence(Qt::CTRL | Qt::Key_S), press(m_save)},
        {QKeySequence(Qt::CTRL | Qt::Key_P), press(m_print)},
        // The text's own redo keys differ between desktops; Ctrl+Y is the
        // one every user of a word processor tries.
        {QKeySequence(Qt::CTRL | Qt::Key_Y), [this] { m_editor->redo(); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), focus(m_fonts)},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), focus(m_size)},
    };
    for (const auto &key : keys) {
        // Only while the notes page is on show and holds the focus: the other
        // pages share the window.
        auto *shortcut = new QShortcut(key.key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, Reported(key.run));
    }
}

QWidget *NotesPage::focusTarget() {
    return m_editor;
}

bool NotesPage::hasUnsavedChanges() const {
    return isBuilt() && m_editor->document()->isModified();
}

void NotesPage::PrepareNotesPage() {
    ensureBuilt();
    {
        const QSignalBlocker quiet(m_fonts);
        m_fonts->clear();
        m_fonts->addItems(QFontDatabase::families());
        SelectComboItem(m_fonts, DesignFontFamily);
    }
    m_size->setText(PreparedFontSize);
    m_updatingBar = false;
}

void NotesPage::rchNotesSelectionChange() {
    m_updatingBar = true;
    const auto barDone = qScopeGuard([this] { m_updatingBar = false; });

    const QFont font =
        m_editor->currentCharFormat().font().resolve(m_editor->document()->defaultFont());
    SelectComboItem(m_fonts, font.family());
    m_size->setText(QString::number(qRound(font.pointSizeF())));
    m_bold->setChecked(font.bold());
    m_underline->setChecked(font.underline());
    m_italics->setChecked(font.italic());

    const Qt::Alignment alignment = m_editor->alignment() & Qt::AlignHorizontal_Mask;
    m_leftAlign->setChecked(alignment == Qt::AlignLeft || alignment == Qt::Alignment());
    m_centreAlign->setChecked(alignment == Qt::AlignHCenter);
    m_rightAlign->setChecked(alignment == Qt::AlignRight);

    const bool selected = m_editor->textCursor().hasSelection();
    m_copy->setEnabled(selected);
    m_cut->setEnabled(selected);
    m_paste->setEnabled(m_clipboardHasText);
    const bool hasText = !m_editor->document()->isEmpty();
    m_save->setEnabled(hasText);
    m_print->setEnabled(hasText);
    m_modified->setVisible(m_editor->document()->isModified());
}

void NotesPage::cboFontsChange(const QString &family) {
    if (m_updatingBar)
        return;
    QTextCharFormat format;
    format.setFontFamilies({family});
    m_editor->mergeCurrentCharFormat(format);
}

void NotesPage::txtSizeChange() {
    if (FontSizeBoxValue(m_size->text()) > LargestFontSize) {
        ShowMessageBox(SizeTooBigMessage, MessageKind::Warning, MessageButtons::OK);
        // Runs this handler again, which applies 32 unless the bar is being
        // brought up to date.
        m_size->setText(QString::number(LargestFontSize));
        return;
    }
    // An empty box is the user on the way to typing another size: the text
    // keeps its size until there is one.
    const int size = FontSizeBoxValue(m_size->text());
    if (m_updatingBar || size <= 0)
        return;
    QTextCharFormat format;
    format.setFontPointSize(size);
    m_editor->mergeCurrentCharFormat(format);
}

void NotesPage::spnSizeClick(int step) {
    if (const auto size = SpunFontSize(m_size->text(), step))
        m_size->setText(QString::number(*size));
}

void NotesPage::spdStyleClick(QToolButton *button) {
    if (m_updatingBar)
        return;
    // Only the button's own style changes; the selection keeps its others.
    const bool down = button->isChecked();
    QTextCharFormat format;
    if (button == m_bold)
        format.setFontWeight(down ? QFont::Bold : QFont::Normal);
    else if (button == m_italics)
        format.setFontItalic(down);
    else
        format.setFontUnderline(down);
    m_editor->mergeCurrentCharFormat(format);
}

void NotesPage::spdAlignClick(QToolButton *button) {
    // At most one alignment button is down, and a click on the one that is
    // down releases it: then none is.
    for (QToolButton *other : {m_leftAlign, m_centreAlign, m_rightAlign})
        if (other != button)
            other->setChecked(false);
    if (m_updatingBar)
        return;
    m_editor->setAlignment(ToQtAlignment(button->property("alignment").toInt()));
}

void NotesPage::cmdNoteNewClick() {
    if (m_editor->document()->isModified() && !ConfirmDiscarding(NewQuestion))
        return;
    m_currentNoteFile.clear();
    m_notKept = {};
    m_proposedName.clear();
    m_editor->clear();
    // New notes start in the editor's own font, not in the last one used.
    m_editor->setCurrentCharFormat(QTextCharFormat());
    m_editor->document()->clearUndoRedoStacks();
    m_fileName->setText(UnsavedNotesCaption);
    m_modified->hide();
    m_editor->document()->setModified(false);
    m_editor->setFocus();
    m_save->setEnabled(false);
    m_print->setEnabled(false);
}

void NotesPage::cmdNoteOpenClick() {
    if (m_editor->document()->isModified() && !ConfirmDiscarding(OpenQuestion))
        return;
    NoteFileDialog dialog(window(), u"opnNotes"_s, u"Open"_s, QFileDialog::AcceptOpen,
                          m_currentNoteFile);
    if (prompter().runModal(dialog) != QDialog::Accepted)
        return;
    const QString chosen = dialog.chosenPath();
    if (IsBlank(chosen))
        return;
    const QString path = WithDefaultExtension(chosen, dialog.filterIndex());
    if (const auto loaded = loadNotes(path)) {
        showLoaded(path, *loaded);
        m_editor->setFocus();
    }
}

void NotesPage::cmdNoteSaveClick() {
    // A file the notes page may not simply write over is not proposed.
    QString preset = m_currentNoteFile;
    if (IsBlank(preset))
        preset = m_proposedName;
    else if (m_notKept)
        preset = NotesNameFor(preset);
    runSaveDialog(preset);
}

bool NotesPage::runSaveDialog(const QString &preset) {
    bool written = false;
    NoteFileDialog dialog(window(), u"savNotes"_s, SaveDialogTitle, QFileDialog::AcceptSave, preset,
                          [this, &written](const QString &chosen, int filterIndex) {
                              const bool close = savNotesCanClose(chosen, filterIndex);
                              written = close && !IsBlank(chosen);
                              return close;
                          });
    prompter().runModal(dialog);
    return written;
}

bool NotesPage::savNotesCanClose(const QString &chosen, int filterIndex) {
    if (IsBlank(chosen))
        return true;
    const QString path = WithDefaultExtension(chosen, filterIndex);
    // Choosing the bound file that holds what the editor cannot keep asks
    // that question rather than the plain overwrite one.
    if (m_notKept && QFileInfo(path) == QFileInfo(m_currentNoteFile)) {
        if (!ConfirmDiscarding(NotKeptQuestion(path, m_notKept)))
            return false;
    } else if (QFileInfo::exists(path) &&
               ShowMessageBox(OverwriteQuestion(path), MessageKind::Confirmation,
                              MessageButtons::YesNo) != MessageResult::Yes) {
        return false;
    }
    // The notes are bound to the name only once they are written under it:
    // a failed write is reported and keeps the dialog open for another name.
    return RunReported([this, &path] {
        writeNotes(path);
        RemoveUnfinishedSavesBeside(path);
        m_currentNoteFile = path;
        m_notKept = {};
        m_proposedName.clear();
    });
}

void NotesPage::SaveNotesOnLeave() {
    // Notes read and left alone are not written: the file keeps what was in
    // it, byte for byte, whoever wrote it.
    if (!isBuilt() || IsBlank(m_currentNoteFile) || !m_editor->document()->isModified())
        return;
    if (!m_notKept) {
        writeNotes(m_currentNoteFile);
        return;
    }
    const QString original = m_currentNoteFile;
    if (ConfirmDiscarding(NotKeptQuestion(original, m_notKept))) {
        writeNotes(original);
        m_notKept = {};
        return;
    }
    if (runSaveDialog(NotesNameFor(original)))
        return;
    // No name: the file stays as it was, and the changed notes stay in the
    // editor, unsaved, for the close query to ask about.
    m_currentNoteFile.clear();
    m_notKept = {};
    m_proposedName = NotesNameFor(original);
    m_fileName->setText(UnsavedNotesCaption);
}

void NotesPage::writeNotes(const QString &path) {
    WriteNoteFile(path, *m_editor->document());
    m_fileName->setText(SavedLabel + path);
    m_editor->document()->setModified(false);
    m_modified->hide();
}

void NotesPage::cmdNotePrintClick() {
    PrintDocument(*m_editor->document(), ProgramTitle() + u" - Notes"_s, window(),
                  u"The Notes Could Not Be Printed"_s);
}

void NotesPage::OpenLastNoteFile() {
    const QString path = Settings(settingsStore()).lastNoteFile();
    if (IsBlank(path))
        return;
    if (ensureBuilt())
        StyleControls(this);
    if (!QFileInfo::exists(path)) {
        ShowMessageBox(MissingLastFileMessage(path), MessageKind::Error, MessageButtons::OK);
        return;
    }
    if (const auto loaded = loadNotes(path))
        showLoaded(path, *loaded);
}

std::optional<NotesPage::Loaded> NotesPage::loadNotes(const QString &path) {
    std::optional<QByteArray> bytes;
    std::optional<Loaded> loaded;
    {
        BusyScope busy;
        try {
            bytes = ReadNoteFile(path);
        } catch (const FileError &) {
        }
        const NoteFileKind kind = bytes ? NoteFileKindOf(*bytes) : NoteFileKind::Binary;
        if (bytes && kind != NoteFileKind::Binary) {
            // One update of the format bar after the load, not one per insert.
            const QSignalBlocker quiet(m_editor);
            // Read into a fresh document: one laid out on the page is laid
            // out again as it is cleared and refilled, near a second for a
            // long note. A file that cannot be read leaves the page as it was.
            auto document = std::make_unique<QTextDocument>(m_editor);
            document->setDefaultFont(m_editor->document()->defaultFont());
            loaded = Loaded{kind, ReadNoteBytes(*bytes, *document)};
            // The editor deletes the document it was made with; the ones
            // given to it later are this page's.
            QTextDocument *previous = m_editor->document();
            const bool ours = previous->parent() == m_editor;
            m_editor->setDocument(document.release());
            if (ours)
                delete previous;
            m_editor->document()->clearUndoRedoStacks();
            m_editor->moveCursor(QTextCursor::Start);
            m_layoutInBackground->start();
        }
    }
    if (!bytes)
        ShowMessageBox(ReadErrorMessage, MessageKind::Error, MessageButtons::OK);
    else if (!loaded)
        ShowMessageBox(NotNotesMessage(path), MessageKind::Error, MessageButtons::OK);
    return loaded;
}

void NotesPage::showLoaded(const QString &path, const Loaded &loaded) {
    if (loaded.kind == NoteFileKind::Rtf) {
        RemoveUnfinishedSavesBeside(path);
        m_currentNoteFile = path;
        m_notKept = loaded.notKept;
        m_proposedName.clear();
        m_fileName->setText(OpenedLabel + path);
    } else {
        // Written back, a plain text file would become rich text, which the
        // program that made it may not read: its text is shown unbound, and
        // Save proposes a notes file beside it.
        m_currentNoteFile.clear();
        m_notKept = {};
        m_proposedName = NotesNameFor(path);
        m_fileName->setText(UnsavedNotesCaption);
    }
    m_editor->document()->setModified(false);
    m_modified->hide();
    rchNotesSelectionChange();
}

void NotesPage::keyPressEvent(QKeyEvent *event) {
    // Ctrl+Tab and Ctrl+Shift+Tab step through the page from any control,
    // as they step out of the text.
    const bool control = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (control && event->key() == Qt::Key_Tab && !shift)
        QWidget::focusNextPrevChild(true);
    else if (control && (event->key() == Qt::Key_Backtab || event->key() == Qt::Key_Tab))
        QWidget::focusNextPrevChild(false);
    else
        Page::keyPressEvent(event);
}

bool NotesPage::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Enter in the size box or the font list applies what it shows to
        // the text and goes back to typing.
        if (enter && (watched == m_size || watched == m_fonts)) {
            RunReported([this, watched] {
                if (watched == m_size)
                    txtSizeChange();
                else if (m_fonts->currentIndex() >= 0)
                    cboFontsChange(m_fonts->currentText());
                m_editor->setFocus(Qt::OtherFocusReason);
            });
            return true;
        }
        // The size box takes digits and Backspace only.
        if (watched == m_size) {
            const QString text = key->text();
            const bool digit = text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9';
            if (!text.isEmpty() && text.at(0).isPrint() && !digit)
                return true;
        }
    }
    return Page::eventFilter(watched, event);
}

} // namespace qm
