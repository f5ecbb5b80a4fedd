#pragma once

namespace qm {

class SingleInstance;

// True when this is the only running copy of the program. Otherwise tells the
// user that the program is already running, asks the running copy to come
// forward, and returns false: this copy then ends. When a copy on another
// computer holds the data folder, the user may remove a lock that copy seems
// to have left behind, or is told which file to remove.
bool PassSingleInstanceGuard(SingleInstance &instance);

} // namespace qm
