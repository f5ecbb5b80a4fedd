#pragma once

#include "foundation/MailAddress.h"
#include "foundation/ui/MsgBox.h"

#include <QString>

namespace qm {

inline const QString MailFailedMessage =
    QStringLiteral("Unable To Launch Your Email Client\r\rCannot Send Email");
inline const QString NotAMailboxMessage =
    QStringLiteral("This Is Not A Valid Email Address\r\rAn Email Address Is A Name, @ And A "
                   "Domain, Such As ann@example.com, Without Spaces Or Any Of ? & # %\r\rCannot "
                   "Send Email");

// A mail the user starts: the subject and body, and what to say when the
// desktop found no mail program for it.
struct MailDraft {
    QString subject;
    QString body;
    QString refusedMessage = MailFailedMessage;
    int refusedKind = MessageKind::Error;
};

// Starts a new message to mailbox in the user's mail program. A text that is
// not a mailbox never reaches the desktop: the user is told it is not a
// valid address. The desktop's refusal is the only sign of a missing mail
// program, so it is reported too. True when the mail program was started.
bool StartMailTo(const QString &mailbox, const MailDraft &draft = {});

} // namespace qm
