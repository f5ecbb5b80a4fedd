#include "shell/Configuration.h"

#include "foundation/Codec1252.h"
#include "foundation/Settings.h"
#include "foundation/Text.h"
#include "platform/StartWithSystem.h"

using namespace Qt::StringLiterals;

namespace qm {

Configuration LoadConfiguration(const Settings &settings, const StartWithSystem &startList) {
    Configuration config;
    config.startingScreen = settings.startingScreen();
    config.needPassword = settings.needPassword();
    config.password = ShiftDown(settings.password());
    config.openNotes = settings.openNotes();
    config.deleteTasks = settings.deleteTasks();
    config.minimizeAtStartUp = settings.minimizeAtStartUp();
    config.runAtStartUp = startList.isOn();
    return config;
}

QString ValidateConfiguration(const Configuration &config, const QString &retyped) {
    if (!config.needPassword)
        return {};
    if (IsBlank(config.password))
        return u"Password Cannot Be Left Blank\r"_s;
    if (config.password != retyped)
        return u"Re-Typed Password Does Not Match Password\r"_s;
    // The stored form keeps one byte of the code page per character: any other
    // character would be stored altered, and the password typed at the next
    // start would never match it.
    if (QString reason; !CanStoreInField(config.password, u"Password"_s, &reason))
        return reason + u"\r"_s;
    return {};
}

bool LoginAccepted(const QString &typed, const QString &storedPassword) {
    if (typed == storedPassword)
        return true;
    if (!storedPassword.contains(u'?'))
        return false;
    // What the older version stored for these keys.
    return DecodeCp1252(EncodeCp1252(typed.toUpper())) == storedPassword;
}

bool ConfigurationToStore(const Configuration &shown, const Configuration &loaded,
                          const Settings &settings, const QString &currentNoteFile) {
    return shown != loaded ||
           (shown.openNotes && settings.lastNoteFile().isEmpty() && !currentNoteFile.isEmpty());
}

void SaveConfiguration(Settings &settings, StartWithSystem &startList, const Configuration &config,
                       const QString &currentNoteFile) {
    if (!config.startingScreen.isEmpty())
        settings.setStartingScreen(config.startingScreen);
    settings.setNeedPassword(config.needPassword);
    if (config.needPassword)
        settings.setPassword(ShiftUp(config.password));
    else
        settings.removePassword();
    settings.setOpenNotes(config.openNotes);
    settings.setDeleteTasks(config.deleteTasks);
    if (settings.lastNoteFile().isEmpty() && config.openNotes)
        settings.setLastNoteFile(currentNoteFile);
    settings.setMinimizeAtStartUp(config.minimizeAtStartUp);
    startList.setOn(config.runAtStartUp);
}

} // namespace qm
