#pragma once

#include "foundation/EditMode.h"
#include "foundation/ui/RowSource.h"
#include "tasks/Occasions.h"

namespace qm {

// The birthday, anniversary and occasion view of the diary list: the
// occasions of "BirthAnn.Qmt" grouped by day, edited in TfrmBirthAnn.
class OccasionRowSource : public RowSource {
public:
    OccasionStore &store() { return m_store; }

    int load(const QDate &today, bool showCompleted) override;
    const ListRows &rows() const override { return m_rows; }
    RowLook look(qsizetype row) const override;
    RowChange add(QWidget *parent) override;
    RowChange edit(int row, QWidget *parent) override;
    RowChange remove(int row) override;

private:
    // The store position of an occasion row's line, -1 for any other row.
    qsizetype positionOf(int row) const;
    bool runEditor(EditMode mode, qsizetype position, QWidget *parent);

    OccasionStore m_store;
    ListRows m_rows;
};

} // namespace qm
