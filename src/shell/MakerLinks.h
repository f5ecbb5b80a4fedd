#pragma once

#include <QDateTime>
#include <QString>

// The texts of the welcome and about screens and of the links to the maker.
namespace qm {

namespace MakerText {
inline const QString WelcomeCaption = QStringLiteral("Welcome To Quillmate");
inline const QString WelcomeHeading =
    QStringLiteral("Welcome To Quillmate From Varnell Software Ltd.");
inline const QString WelcomeText = QStringLiteral(
    "Quillmate is frequently updated with new features and improvements. If you would like us "
    "to inform you when new versions are available, please check the 'Update Me' button");
inline const QString BrowserFailed = QStringLiteral("Unable To Launch An Internet Browser");
} // namespace MakerText

// The mail that asks to be told of new versions, sent to UpdateMailbox():
// its subject, and its body, whose "\r\r" are blank lines.
QString UpdateMailSubject();
QString UpdateMailBody();
// Shown when no mail program took that mail, so the user can write by hand.
QString UpdateMailFailedMessage();

// The address the browser is given for a web address as the program shows it
// (a bare "www.…" address gets "https://").
QString WebPageUrl(const QString &address);

// "Version : 2.0a.  Built : 20th March 2000", from the time the program's
// executable was last modified.
QString AboutVersionText(const QDateTime &built);

} // namespace qm
