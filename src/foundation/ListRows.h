#pragma once

#include <QString>
#include <QStringList>

// The rows of a list view kept elsewhere than in the page that shows it (the
// task and occasion views of the diary list): the texts and the lists that run
// parallel to them, one entry per row.
namespace qm {

struct ListRows {
    QStringList texts;
    // The position of the row's record line, as decimal text; "H" for a
    // heading row, "L" for a separator row.
    QStringList rowMap;
    // The date key of a record row where the view has one; empty otherwise.
    QStringList rowKeys;
    // "Y" or empty; filled by the task view only (empty lists elsewhere).
    QStringList overdueFlags;
    QStringList priorityFlags;
    QStringList completedFlags;

    qsizetype size() const { return texts.size(); }
};

// The position of the record a row shows; -1 for a heading or separator row
// and for a row the list does not have.
inline qsizetype RecordPosition(const ListRows &rows, qsizetype row) {
    if (row < 0 || row >= rows.rowMap.size())
        return -1;
    bool ok = false;
    const qsizetype position = rows.rowMap.at(row).toLongLong(&ok);
    return ok ? position : -1;
}

// How a row is drawn (and printed) apart from its text.
struct RowLook {
    enum class Mark : quint8 {
        None,     // the list's own colours
        Alert,    // red: red text, or a red background when selected
        Emphasis, // the window-text colour in place of red
    };
    Mark mark = Mark::None;
    bool bold = false;
    bool strikeOut = false;

    bool operator==(const RowLook &) const = default;
};

} // namespace qm
