#pragma once

#include <QString>

namespace qm {

inline const QString MailFailedMessage =
    QStringLiteral("Unable To Launch Your Email Client\r\rCannot Send Email");

// Starts a new message to mailbox in the user's mail program. The desktop's
// refusal is the only sign of a missing mail program, so it is reported.
void StartMailTo(const QString &mailbox);

} // namespace qm
