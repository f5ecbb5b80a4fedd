#include "foundation/ui/Printing.h"

#include "foundation/Errors.h"
#include "platform/Prompter.h"
#include "platform/Services.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace qm {

namespace {

void RunPrintJob(const QString &jobTitle, QWidget *parent, const QString &failure,
                 const std::function<void(QPrinter &)> &print) {
    QPrinter printer;
    printer.setDocName(jobTitle);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(u"prnSelect"_s);
    if (prompter().runModal(dialog) != QDialog::Accepted)
        return;
    print(printer);
    if (printer.printerState() == QPrinter::Error)
        throw QuillmateError(failure, printer.outputFileName());
}

} // namespace

void PrintDocument(const QTextDocument &document, const QString &jobTitle, QWidget *parent,
                   const QString &failure) {
    RunPrintJob(jobTitle, parent, failure, [&](QPrinter &printer) { document.print(&printer); });
}

void PrintDocument(const PageComposer &compose, const QString &jobTitle, QWidget *parent,
                   const QString &failure) {
    RunPrintJob(jobTitle, parent, failure, [&](QPrinter &printer) {
        QTextDocument page;
        compose(page);
        page.print(&printer);
    });
}

} // namespace qm
