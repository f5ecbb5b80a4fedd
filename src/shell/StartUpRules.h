#pragma once

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
