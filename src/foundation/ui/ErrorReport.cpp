#include "foundation/ui/ErrorReport.h"

#include "foundation/Errors.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QDebug>

#include <utility>

namespace qm {

using namespace Qt::StringLiterals;

namespace {
constexpr int ErrorKind = 3;
constexpr int OkButton = 8;

void show(const QString &text) {
    if (services().prompter)
        prompter().showMessage(text, ErrorKind, OkButton, OkButton);
    else
        qCritical().noquote() << text;
}
} // namespace

void ReportError(const QuillmateError &error) {
    show(error.reportText());
}

void ReportError(const std::exception &error) {
    show(QString::fromLocal8Bit(error.what()));
}

namespace {
bool g_viewChoiceReported = false;
} // namespace

void RememberViewChoice(const std::function<void()> &store) {
    try {
        store();
    } catch (const QuillmateError &error) {
        if (!std::exchange(g_viewChoiceReported, true))
            ReportError(error);
    }
}

void ResetViewChoiceReportForTesting() {
    g_viewChoiceReported = false;
}

QuillmateApplication::QuillmateApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool QuillmateApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const QuillmateError &error) {
        ReportError(error);
    } catch (const std::exception &error) {
        ReportError(error);
    }
    return false;
}

} // namespace qm
