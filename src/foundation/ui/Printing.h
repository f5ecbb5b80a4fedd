#pragma once

#include <QString>

#include <functional>

class QTextDocument;
class QWidget;

namespace qm {

// Fills an empty document with the page to print.
using PageComposer = std::function<void(QTextDocument &page)>;

// A print job's title made into a name every file system takes, for the
// print dialog to propose when printing to a file: every folder separator
// and every character a system refuses in a name becomes "-", and full stops
// and spaces at the end go.
QString PrintFileName(const QString &title);

// The program's one print sequence: the print dialog (`prnSelect`, run
// through the prompter) for a job titled jobTitle, then the document on the
// printer chosen, under jobTitle (the proposed file name made safe by
// PrintFileName). A cancelled dialog prints nothing. A printer that ends in
// error throws QuillmateError(failure, the printer's output file).
void PrintDocument(const QTextDocument &document, const QString &jobTitle, QWidget *parent,
                   const QString &failure);
// As above, but the page is composed only once the dialog was accepted, so a
// cancelled print costs nothing.
void PrintDocument(const PageComposer &compose, const QString &jobTitle, QWidget *parent,
                   const QString &failure);

} // namespace qm
