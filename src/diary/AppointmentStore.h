#pragma once

#include "foundation/LineStore.h"

namespace qm {

// All appointment lines in memory, `lstSorted`: always in ascending order of
// the line text, letters compared without regard to case, and written to
// "Diary.Qmt" before any change takes effect (see LineStore).
class AppointmentStore : public LineStore {
public:
    AppointmentStore();

    // Where line would be inserted into the sorted lines.
    static qsizetype SortedPosition(const QStringList &sorted, const QString &line);
    // The store's order: < 0, 0 or > 0 as a sorts before, with or after b.
    static int Compare(const QString &a, const QString &b);
};

} // namespace qm
