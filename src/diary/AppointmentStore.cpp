#include "diary/AppointmentStore.h"

#include "foundation/LineFiles.h"
#include "foundation/SortedLines.h"

namespace qm {

AppointmentStore::AppointmentStore() : LineStore(DiaryFileName, Order::Sorted) {}

int AppointmentStore::Compare(const QString &a, const QString &b) {
    return CompareLines(a, b);
}

qsizetype AppointmentStore::SortedPosition(const QStringList &sorted, const QString &line) {
    return qm::SortedPosition(sorted, line);
}

} // namespace qm
