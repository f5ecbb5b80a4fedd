#pragma once

#include "foundation/ListRows.h"

#include <QList>
#include <QString>

class QTextDocument;

namespace qm {

// A row of the diary list as it goes on paper: its text and how it is drawn.
struct PrintRow {
    QString text;
    RowLook look;
};

// Replaces the content of page with the printed diary list: an empty line,
// the heading (14 point, bold, underlined), an empty line, then one line per
// row (12 point), all in Times New Roman and never wrapped. A row marked
// Alert is red; bold and strikeOut are as the row's look says.
void ComposeDiaryPrint(QTextDocument &page, const QString &heading, const QList<PrintRow> &rows);

} // namespace qm
