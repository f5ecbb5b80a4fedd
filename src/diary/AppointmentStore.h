#pragma once

#include "foundation/LineStore.h"

namespace qm {

// All appointment lines in memory, `lstSorted`: always in ascending order of
// the line text, letters compared without regard to case (CompareLines), and written to
// "Diary.Qmt" before any change takes effect (see LineStore).
class AppointmentStore : public LineStore {
public:
    AppointmentStore();
};

} // namespace qm
