#pragma once

#include "foundation/EditMode.h"
#include "foundation/ui/FormParts.h"
#include "foundation/ui/RowSource.h"
#include "tasks/Tasks.h"

namespace qm {

// The task view of the diary list: the tasks of "Tasks.Qmt", edited in
// TfrmTaskMaint.
class TaskRowSource : public RowSource {
public:
    // datePicker opens the date picker for the editor's complete-by date.
    explicit TaskRowSource(FieldPicker datePicker = {});

    TaskStore &store() { return m_store; }

    int load(const QDate &today, bool showCompleted) override;
    const ListRows &rows() const override { return m_rows; }
    RowLook look(qsizetype row) const override;
    RowChange add(QWidget *parent) override;
    RowChange edit(int row, QWidget *parent) override;
    RowChange remove(int row) override;

private:
    // The store position of a row's task, -1 when the row shows none.
    qsizetype positionOf(int row) const;
    bool runEditor(EditMode mode, qsizetype position, QWidget *parent);

    FieldPicker m_datePicker;
    TaskStore m_store;
    ListRows m_rows;
};

} // namespace qm
