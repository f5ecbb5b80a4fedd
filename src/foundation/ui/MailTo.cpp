#include "foundation/ui/MailTo.h"

#include "foundation/BusyScope.h"
#include "foundation/ui/MsgBox.h"
#include "platform/Services.h"
#include "platform/Shell.h"

using namespace Qt::StringLiterals;

namespace qm {

void StartMailTo(const QString &mailbox) {
    bool opened = false;
    {
        BusyScope busy;
        opened = shell().openAddress(u"mailto:"_s + mailbox);
    }
    if (!opened)
        ShowMessageBox(MailFailedMessage, MessageKind::Error, MessageButtons::OK);
}

} // namespace qm
