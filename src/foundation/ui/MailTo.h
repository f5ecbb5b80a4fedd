#pragma once

#include "foundation/ui/MsgBox.h"

#include <QString>

#include <optional>

namespace qm {

inline const QString MailFailedMessage =
    QStringLiteral("Unable To Launch Your Email Client\r\rCannot Send Email");
inline const QString NotAMailboxMessage =
    QStringLiteral("This Is Not A Valid Email Address\r\rAn Email Address Is A Name, @ And A "
                   "Domain, Such As ann@example.com, Without Spaces Or Any Of ? & # %\r\rCannot "
                   "Send Email");

// The two functions below use QtCore only: they decide what reaches the
// desktop, and are tested as plain code.

// Whether text is one plain mailbox, local part @ domain: no white space,
// control or formatting characters, nothing a mail address would read as a
// second recipient, a comment or a route, and none of ? & # % (which a
// mailto: address reads as parameters, such as attach=, or as encoding).
bool IsMailbox(const QString &text);

// The mailto: address for a new message to mailbox (surrounding blanks
// ignored) with subject and body when given, every part percent-encoded, so
// the mail program is handed exactly one recipient and these texts and
// nothing else. An empty mailbox gives a new message without a recipient.
// Nothing when mailbox is not empty and not a plain mailbox.
std::optional<QString> MailToAddress(const QString &mailbox, const QString &subject = {},
                                     const QString &body = {});

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
