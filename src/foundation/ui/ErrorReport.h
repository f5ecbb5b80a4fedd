#pragma once

#include <type_traits>

#include "foundation/Errors.h"

#include <QApplication>

#include <exception>
#include <functional>
#include <utility>

namespace qm {

// Shows a failure to the user in the program's message dialog (Error kind,
// OK button) with its cause and file.
void ReportError(const QuillmateError &error);
void ReportError(const std::exception &error);

// Runs an operation, reporting a failure instead of letting it escape. Returns
// false when the operation failed.
template <typename F> bool RunReported(F &&operation) {
    try {
        std::forward<F>(operation)();
        return true;
    } catch (const QuillmateError &error) {
        ReportError(error);
    } catch (const std::exception &error) {
        ReportError(error);
    }
    return false;
}

// Stores a view choice (a list's order or filter, whether completed tasks
// show): the view follows the choice whether or not it can be remembered, and
// a failure to store it is reported the first time in a run only, so a
// settings folder that cannot be written is said once, not at every click.
void RememberViewChoice(const std::function<void()> &store);
// Makes the next failure of RememberViewChoice reported again.
void ResetViewChoiceReportForTesting();

// Wraps a slot so that a failure ends the operation with the error report.
// Every handler of the program is connected through this: an exception must
// not unwind through Qt's own frames, which do not expect it. A handler that
// takes no arguments may be bound to a signal that sends some (clicked(bool)).
template <typename F> auto Reported(F operation) {
    return [operation = std::move(operation)](auto &&...args) {
        RunReported([&] {
            if constexpr (std::is_invocable_v<F &, decltype(args)...>)
                operation(std::forward<decltype(args)>(args)...);
            else
                operation();
        });
    };
}

// The application object. Every event is dispatched inside a handler that
// catches the program's failures and reports them, so an exception that a
// handler failed to catch itself ends that operation, never the program, and
// never leaves the event loop.
class QuillmateApplication : public QApplication {
    Q_OBJECT
public:
    QuillmateApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace qm
