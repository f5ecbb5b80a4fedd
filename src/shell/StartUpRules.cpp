#include "shell/StartUpRules.h"

#include "foundation/Dates.h"
#include "foundation/Program.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace qm {

QString DateSepFromShortFormat(const QString &format) {
    for (const QChar c : format) {
        const QChar upper = c.toUpper();
        if (upper != u'D' && upper != u'M' && upper != u'Y')
            return QString(c);
    }
    return {};
}

QString ScreenCheckMessage(QSize screen, const QString &colourMode) {
    const bool is256 = colourMode == u"256"_s;
    if (screen.width() > 799 && screen.height() > 599 && !is256)
        return {};
    return ProgramTitle() +
           u" Runs Best At A Resolution Of 800 By 600 (or Higher) Set To High-Colour (or Better)"_s +
           u"\r\r"_s + u"Your Screen Resolution Is Currently "_s + QString::number(screen.width()) +
           u" By "_s + QString::number(screen.height()) + u" Set To "_s +
           (is256 ? u"256 Colours"_s : u"High Colour (Or Better)"_s);
}

QString UnwritableDataFolderMessage(const QString &folder) {
    const QString title = ProgramTitle();
    return title + u" Cannot Write To Its Data Folder\r\r"_s + QDir::toNativeSeparators(folder) +
           u"\r\rYour Diary, Tasks, Addresses And Other Records Are Kept In This Folder, But It "
           u"Cannot Be Written To, So Nothing You Change Could Be Saved.\r\rMake The Folder "
           u"Writable (Or Copy "_s +
           title + u" And Its .Qmt Files To A Folder You Can Write To) And Start "_s + title +
           u" Again."_s;
}

bool MayBeLeftBehind(const QDateTime &lockTaken, const QDateTime &now) {
    // A time ahead of this computer's clock (clocks differ between computers)
    // counts as young.
    return lockTaken.isValid() && lockTaken.secsTo(now) >= ForeignLockGraceSeconds;
}

QString ForeignLockQuestion(const QString &host, const QString &lockFile,
                            const QDateTime &lockTaken) {
    const QString title = ProgramTitle();
    return title + u" Was Started On Another Computer, \""_s + host + u"\", On "_s +
           DateToDisplay(lockTaken.date()) + u" At "_s + TimeToDisplay(lockTaken) +
           u", And Still Holds This Lock On The Data Folder:\r\r"_s +
           QDir::toNativeSeparators(lockFile) + u"\r\rIf "_s + title +
           u" Is No Longer Running There (It Ended Without Closing, Or The Computer Was Switched "
           u"Off Or Renamed), The Lock Was Left Behind And Can Be Removed. If It Is Still Running "
           u"There, Close It There First: Two Copies Would Overwrite Each Other's Changes.\r\r"
           u"Remove The Lock And Start "_s +
           title + u"?"_s;
}

QString ForeignLockMessage(const QString &host, const QString &lockFile) {
    const QString title = ProgramTitle();
    return title + u" Is Running On Another Computer, \""_s + host +
           u"\", Over The Same Data Folder\r\rOnly One Copy Can Work On The Data At A Time, Or "
           u"Each Would Overwrite The Other's Changes. Close "_s +
           title +
           u" There And Start It Again Here.\r\rIf It Is Not Running There, Remove This "
           u"Lock File And Start "_s +
           title + u" Again:\r\r"_s + QDir::toNativeSeparators(lockFile);
}

QString Greeting(const QTime &time) {
    // Compared as "hh:mm" text, as the greeting has always been decided.
    const QString now = TimeToDisplay(time);
    if (now < u"12:00"_s)
        return u"Good Morning"_s;
    if (now < u"18:00"_s)
        return u"Good Afternoon"_s;
    return u"Good Evening"_s;
}

QString CloseQuestion(bool notesUnsaved, bool alarmsUnsaved) {
    const QString ending = u" Now, You Will Loose Them"_s + u"\r\r"_s +
                           u"Are You Sure You Want To Close "_s + ProgramTitle() + u"?"_s;
    if (notesUnsaved) {
        const QString first = alarmsUnsaved ? u"You Have Unsaved Alarm Times And Notes"_s
                                            : u"You Have Unsaved Notes"_s;
        return first + u" If You Close "_s + ProgramTitle() + ending;
    }
    if (alarmsUnsaved)
        return u"You Have Unsaved Alarm Times, If You Close "_s + ProgramTitle() + ending;
    return {};
}

} // namespace qm
