#include "shell/ui/SingleInstanceGuard.h"

#include "foundation/Program.h"
#include "foundation/ui/MsgBox.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"
#include "platform/Services.h"
#include "platform/ui/SingleInstance.h"
#include "shell/StartUpRules.h"

using namespace Qt::StringLiterals;

namespace qm {

namespace {

// Nothing here can tell whether the copy on the other computer still runs:
// an older lock is removed only when the user says so (No is the default, as
// removing a live one would let two copies overwrite each other's changes);
// for a younger one the user is told which file to remove if need be.
bool passForeignLock(SingleInstance &instance, const ForeignLock &lock) {
    if (MayBeLeftBehind(lock.taken, clock().now())) {
        if (!ConfirmDiscarding(ForeignLockQuestion(lock.host, lock.path, lock.taken)))
            return false;
        if (instance.takeOverDataLock(lock))
            return true;
    }
    ShowMessageBox(ForeignLockMessage(lock.host, lock.path), MessageKind::Warning,
                   MessageButtons::OK);
    return false;
}

} // namespace

bool PassSingleInstanceGuard(SingleInstance &instance) {
    if (instance.tryAcquire())
        return true;
    if (const std::optional<ForeignLock> foreign = instance.foreignDataLock())
        return passForeignLock(instance, *foreign);
    prompter().showSystemInformation(ProgramTitle(), ProgramTitle() + u" Is Already Running"_s);
    instance.activateRunning();
    return false;
}

} // namespace qm
