#pragma once

#include <QString>

class QDialog;

namespace qm {

// Every modal interaction goes through here, so tests answer questions and
// drive editors without a blocking exec().
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the program's message dialog; returns the result of the pressed
    // button (see MessageResult in foundation/MsgBox.h). defaultResult names
    // the button that Enter presses.
    virtual int showMessage(const QString &text, int kind, int buttons, int defaultResult) = 0;
    // The operating system's own message box (used before the main window
    // exists, e.g. by the single-instance guard).
    virtual void showSystemInformation(const QString &title, const QString &text) = 0;
    // Runs a modal form and returns its result code.
    virtual int runModal(QDialog &dialog) = 0;
};

} // namespace qm
