#include "diary/AppointmentStore.h"

#include "foundation/LineFiles.h"

namespace qm {

AppointmentStore::AppointmentStore() : LineStore(DiaryFileName, Order::Sorted) {}

} // namespace qm
