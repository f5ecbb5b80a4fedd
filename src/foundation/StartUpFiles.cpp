#include "foundation/StartUpFiles.h"

#include "foundation/ColourScheme.h"
#include "foundation/DataFolder.h"
#include "foundation/Housekeeping.h"
#include "platform/Services.h"

namespace qm {

void PrepareDataFolder(const QString &colourMode) {
    RemoveUnfinishedSaves(dataFolder());
    SetColourMode(colourMode);
    LoadColourScheme();
    CreateHousekeepingFiles();
}

} // namespace qm
