#include "shell/ui/SingleInstanceGuard.h"

#include "foundation/Program.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "platform/ui/SingleInstance.h"

using namespace Qt::StringLiterals;

namespace qm {

bool PassSingleInstanceGuard(SingleInstance &instance) {
    if (instance.tryAcquire())
        return true;
    prompter().showSystemInformation(ProgramTitle(), ProgramTitle() + u" Is Already Running"_s);
    instance.activateRunning();
    return false;
}

} // namespace qm
