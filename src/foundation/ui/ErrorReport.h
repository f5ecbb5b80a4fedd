#pragma once

#include <QApplication>

namespace qm {

class QuillmateError;

// Shows a failure to the user in the program's message dialog (Error kind,
// OK button) with its cause and file.
void ReportError(const QuillmateError &error);

// The application object. Every event is dispatched inside a handler that
// catches the program's failures and reports them, so an exception ends the
// operation that raised it, never the program, and never crosses into Qt's
// event loop.
class QuillmateApplication : public QApplication {
    Q_OBJECT
public:
    QuillmateApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace qm
