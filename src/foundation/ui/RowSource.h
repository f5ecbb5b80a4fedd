#pragma once

#include "foundation/ListRows.h"

#include <QDate>

class QWidget;

namespace qm {

// What the list selects after a command changed the records behind it; the
// list is rebuilt first.
struct RowChange {
    enum class Select : quint8 {
        Unchanged, // nothing changed: the list stays as it is
        First,     // the row the view selects when it is loaded
        Last,      // the last row
        Row,       // the row at `row`, none when the list is now shorter
        RowOrLast, // the row at `row`, the last row when the list is now shorter
    };
    Select select = Select::Unchanged;
    int row = -1;

    bool changed() const { return select != Select::Unchanged; }
};

// A view of records that a page's list shows without knowing them: the task
// and occasion views of the diary list. The source reads its records, builds
// the rows, says how each is drawn and printed, and runs Add, Edit and Delete
// on them with its own editors, warnings and questions.
class RowSource {
public:
    virtual ~RowSource() = default;

    // Reads the records again and rebuilds the rows; returns the row to select
    // (-1 for none).
    virtual int load(const QDate &today, bool showCompleted) = 0;
    virtual const ListRows &rows() const = 0;
    virtual RowLook look(qsizetype row) const = 0;

    // The commands; row is the selected row, -1 for none; parent is the
    // window the editors and messages belong to.
    virtual RowChange add(QWidget *parent) = 0;
    virtual RowChange edit(int row, QWidget *parent) = 0;
    virtual RowChange remove(int row) = 0;
};

} // namespace qm
