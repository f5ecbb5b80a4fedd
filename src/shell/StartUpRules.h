#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QTime>

// The decisions of start-up and close-down that do not need a window.
namespace qm {

// The separator of a short date format such as "dd/MM/yyyy" or "M-d-yy": its
// first character that is not a day, month or year letter (in any case).
// Empty when the format has no such character.
QString DateSepFromShortFormat(const QString &format);

// The warning for a screen smaller than 800 by 600 or limited to 256 colours;
// empty when the screen is good enough.
QString ScreenCheckMessage(QSize screen, const QString &colourMode);

// Why the program cannot start over a data folder that holds the user's
// records but cannot be written: where the data is, and what to do.
QString UnwritableDataFolderMessage(const QString &folder);

// A lock on the data folder left by a copy on another computer is offered for
// removal once it is this old; a younger one may well be a copy that is
// still starting or running there.
inline constexpr qint64 ForeignLockGraceSeconds = 5 * 60;
bool MayBeLeftBehind(const QDateTime &lockTaken, const QDateTime &now);
// The question for an older lock (Yes removes it and starts): which computer
// holds it since when, the lock file, and what removing it risks.
QString ForeignLockQuestion(const QString &host, const QString &lockFile,
                            const QDateTime &lockTaken);
// For a younger lock: which computer uses the data, and which file to remove
// if the program is not running there after all.
QString ForeignLockMessage(const QString &host, const QString &lockFile);

// The login page's greeting for a time of day.
QString Greeting(const QTime &time);

// The question the close query asks, or empty when closing needs no question.
QString CloseQuestion(bool notesUnsaved, bool alarmsUnsaved);

// The starting pages by their stored names, in the order of the menu.
inline const QStringList &StartingScreens() {
    static const QStringList names = {QStringLiteral("Diary"), QStringLiteral("Notes"),
                                      QStringLiteral("Alarms"), QStringLiteral("Calculator"),
                                      QStringLiteral("Address")};
    return names;
}

} // namespace qm
