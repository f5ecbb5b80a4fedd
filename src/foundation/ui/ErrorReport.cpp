#include "foundation/ui/ErrorReport.h"

#include "foundation/Errors.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QDebug>

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
