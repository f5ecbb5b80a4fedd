#pragma once

#include "platform/Prompter.h"

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QFontMetrics;
class QLabel;
class QPushButton;
class QWidget;

// The program's own message dialog and the questions every form asks with it.
namespace qm {

// What a message is: picks the picture shown beside the text.
namespace MessageKind {
inline constexpr int Confirmation = 1; // question mark
inline constexpr int Information = 2;
inline constexpr int Error = 3;
inline constexpr int Warning = 4;
} // namespace MessageKind

// Which buttons a message offers. Callers pass only these three.
namespace MessageButtons {
inline constexpr int OK = 8;
inline constexpr int YesNo = 9;
inline constexpr int OKCancel = 10;
} // namespace MessageButtons

// The result of the button pressed.
namespace MessageResult {
inline constexpr int Cancel = 0;
inline constexpr int Yes = 5;
inline constexpr int No = 6;
inline constexpr int OK = 8;
} // namespace MessageResult

inline const QString CannotSaveHeading = QStringLiteral("Cannot Save Because :\r\r");
inline const QString LoseChangesQuestion =
    QStringLiteral("Are You Sure?\r\rAny Changes You Have Made Will Be Lost");

// Shows a message modally (through the prompter, so tests answer it) and
// returns the result of the button pressed. Line breaks in text are "\r".
// Enter presses the first button.
int ShowMessageBox(const QString &text, int kind, int buttons);
// A question whose Yes throws away work the user has not saved: Yes and No,
// with No the default button, so an Enter meant for something else never
// discards anything. True on Yes.
bool ConfirmDiscarding(const QString &question);
// Error kind, OK button: the heading followed by reasons, each reason a
// sentence ending in "\r"; the last "\r" is dropped.
void ShowCannotSave(const QString &reasons);
// "Are You Sure?" with Yes and No (No the default); true on Yes.
bool ConfirmLoseChanges();

// The result a message gives when the user closes it without pressing one of
// its buttons (Escape, the window manager's close request): the least
// harmful answer, No for Yes/No, Cancel for OK/Cancel, OK for a plain notice.
int DismissResult(int buttons);
// The result of the first button of a set: what Enter gives unless a message
// names another default.
int FirstButtonResult(int buttons);

// Where everything of the dialog goes, computed from the size the message
// text needs. The dialog size is its client area; the panel is centred in it
// and the picture, the text and the buttons are placed on the panel
// (coordinates relative to the panel). Divisions round toward zero.
struct MessageBoxLayout {
    static constexpr int ButtonWidth = 73;
    static constexpr int ButtonHeight = 25;
    static constexpr int MinimumWidth = 174;

    QSize dialog;
    QRect panel;  // in the dialog
    QPoint image; // on the panel
    QRect label;  // on the panel
    QRect ok;     // on the panel; null when the button is hidden
    QRect yes;
    QRect no;
    QRect cancel;
};
MessageBoxLayout LayoutMessageBox(QSize labelSize, int buttons);

// The widest the message text grows before it wraps.
inline constexpr int MessageTextMaxWidth = 400;

// The text as the dialog shows it within maxWidth by maxHeight pixels: a word
// too wide for a line (a long number, a path) is broken where the line ends,
// and when the text is still too tall, the part that fits is shown, ending
// in an ellipsis. Text that fits is returned as it is.
QString FitMessageText(const QString &text, const QFontMetrics &metrics, int maxWidth,
                       int maxHeight);

// The dialog itself. Build it, then exec(): the result is the MessageResult
// of the button pressed. Enter presses the button whose result is
// defaultResult (the first button when none of them has it).
class TfrmMessageBox : public QDialog {
    Q_OBJECT
public:
    TfrmMessageBox(const QString &text, int kind, int buttons, QWidget *parent = nullptr,
                   int defaultResult = -1);

    int messageResult() const { return m_result; }
    const MessageBoxLayout &layoutUsed() const { return m_layout; }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void finishWith(int result);

    int m_buttons;
    int m_result;
    MessageBoxLayout m_layout;
};

// The prompter of the running program: the message dialog, real modal forms
// and the system's own message box.
class StandardPrompter final : public Prompter {
public:
    int showMessage(const QString &text, int kind, int buttons, int defaultResult) override;
    void showSystemInformation(const QString &title, const QString &text) override;
    int runModal(QDialog &dialog) override;
};

} // namespace qm
