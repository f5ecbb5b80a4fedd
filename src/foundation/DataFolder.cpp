#include "foundation/DataFolder.h"

#include "foundation/AddressFile.h"
#include "foundation/ColourScheme.h"
#include "foundation/DateLog.h"
#include "foundation/LineFiles.h"
#include "platform/AppPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace qm {

using namespace Qt::StringLiterals;

namespace {
bool isSeparator(QChar ch) {
    return ch == u'\\' || ch == u'/';
}

QString withSeparator(const QString &folder) {
    if (folder.isEmpty() || isSeparator(folder.back()))
        return folder;
    return folder + u'/';
}

// The program's desktop entry installed beside the folder, as in
// <prefix>/bin and <prefix>/share/applications.
bool IsInstalledBinFolder(const QString &folder) {
    const QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    return QFileInfo::exists(
        dir.filePath(u"../share/applications/"_s + DesktopAppId + u".desktop"_s));
}
} // namespace

QString DataFolderFromExePath(const QString &path) {
    // Walk back from the last character to the last separator, stopping at
    // the first character.
    qsizetype position = path.size(); // 1-based
    while (position > 1 && !isSeparator(path.at(position - 1)))
        --position;
    if (position <= 2)
        return {};
    // The walk stopped on a separator, so the result ends in one.
    return path.left(position);
}

const QStringList &ProgramDataFileNames() {
    static const QStringList names = {DiaryFileName,   TasksFileName,  BirthdayFileName,
                                      AddressFileName, AlarmFileName,  NextKeyFileName,
                                      ColoursFileName, DateLogFileName};
    return names;
}

bool HoldsProgramData(const QString &folder) {
    const QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    for (const QString &name : ProgramDataFileNames())
        if (QFileInfo::exists(dir.filePath(name)))
            return true;
    return false;
}

void RemoveUnfinishedSaves(const QString &folder) {
    static const QRegularExpression unfinished = [] {
        QStringList names;
        for (const QString &name : ProgramDataFileNames() + QStringList{AddressWorkFileName})
            names.append(QRegularExpression::escape(name));
        return QRegularExpression(u"^(?:"_s + names.join(u'|') + u")\\.[A-Za-z0-9]{6}$"_s);
    }();
    QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (unfinished.match(name).hasMatch())
            dir.remove(name);
}

DataFolderChoice ResolveDataFolder(const AppPaths &paths) {
    QString folder = DataFolderFromExePath(paths.executablePath());
    if (folder.isEmpty())
        folder = withSeparator(QDir::currentPath());
    // Moving elsewhere would show an empty organiser over the user's data
    // and put new entries in a second place.
    if (HoldsProgramData(folder))
        return {folder, !paths.isWritableFolder(folder)};
    if (!IsInstalledBinFolder(folder) && paths.isWritableFolder(folder))
        return {folder};
    const QString perUser = paths.perUserDataFolder();
    if (perUser.isEmpty() || !QDir().mkpath(perUser))
        return {folder};
    return {withSeparator(perUser)};
}

} // namespace qm
