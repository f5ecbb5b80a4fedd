#pragma once

namespace qm {

class SingleInstance;

// True when this is the only running copy of the program. Otherwise tells the
// user that the program is already running, asks the running copy to come
// forward, and returns false: this copy then ends.
bool PassSingleInstanceGuard(SingleInstance &instance);

} // namespace qm
