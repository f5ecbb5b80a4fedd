#include "foundation/StartUpFiles.h"

#include "foundation/ColourScheme.h"
#include "foundation/Housekeeping.h"

namespace qm {

void PrepareDataFolder(const QString &colourMode) {
    SetColourMode(colourMode);
    LoadColourScheme();
    CreateHousekeepingFiles();
}

} // namespace qm
