#include "foundation/ui/MailTo.h"

#include "foundation/BusyScope.h"
#include "platform/Services.h"
#include "platform/Shell.h"

using namespace Qt::StringLiterals;

namespace qm {

bool StartMailTo(const QString &mailbox, const MailDraft &draft) {
    const std::optional<QString> address = MailToAddress(mailbox, draft.subject, draft.body);
    if (!address) {
        ShowMessageBox(NotAMailboxMessage, MessageKind::Warning, MessageButtons::OK);
        return false;
    }
    bool opened = false;
    {
        BusyScope busy;
        opened = shell().openAddress(*address);
    }
    if (!opened)
        ShowMessageBox(draft.refusedMessage, draft.refusedKind, MessageButtons::OK);
    return opened;
}

} // namespace qm
