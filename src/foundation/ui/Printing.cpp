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
    // The print dialog makes the name it proposes for printing to a file
    // out of the job's name: it gets one the file system takes, and the job
    // its title again once the dialog is done.
    printer.setDocName(PrintFileName(jobTitle));
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(u"prnSelect"_s);
    if (prompter().runModal(dialog) != QDialog::Accepted)
        return;
    printer.setDocName(jobTitle);
    print(printer);
    if (printer.printerState() == QPrinter::Error)
        throw QuillmateError(failure, printer.outputFileName());
}

} // namespace

QString PrintFileName(const QString &title) {
    // What one system or another refuses in a file name: its folder
    // separators, the characters Windows keeps for itself, control
    // characters, and full stops or spaces at the end.
    static const QString refused = u"/\\:*?\"<>|"_s;
    QString name;
    name.reserve(title.size());
    for (const QChar c : title)
        name += refused.contains(c) || c.unicode() < 0x20 || c.unicode() == 0x7f ? u'-' : c;
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.isEmpty() ? u"Print"_s : name;
}

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
