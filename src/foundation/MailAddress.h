#pragma once

#include <QString>

#include <optional>

// What a mail address handed to the desktop may be: it decides what reaches
// the user's mail program, so it is plain code with plain tests.
namespace qm {

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

} // namespace qm
