#pragma once

#include <QString>

class QFileDevice;

namespace qm {

// Asks the system to put what was written to an open file on the disk, not
// only in its cache, and reports whether the disk took it. Some file systems
// (network shares among them) only report a full disk here. False, with the
// system's reason in reason, when the data did not reach the disk; a file
// system that cannot sync at all counts as success.
bool SyncFileToDisk(QFileDevice &file, QString *reason);

} // namespace qm
