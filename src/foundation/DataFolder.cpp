#include "foundation/DataFolder.h"

#include "foundation/AddressFile.h"
#include "foundation/ColourScheme.h"
#include "foundation/DateLog.h"
#include "foundation/Errors.h"
#include "foundation/LineFiles.h"
#include "foundation/RecordFile.h"
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

// Whether the file at prefix holds the first bytes of the file at whole, and
// fewer of them: what an interrupted copy leaves.
bool isStartOf(const QString &prefix, const QString &whole) {
    const QByteArray start = ReadFileBytes(prefix);
    const QByteArray all = ReadFileBytes(whole);
    return start.size() < all.size() && all.startsWith(start);
}

// Creates folder and the folders above it that are missing; the folder itself
// is made open to its owner only. An existing folder is left as it is.
bool makePrivateFolder(const QString &folder) {
    QDir dir;
    if (dir.exists(folder))
        return true;
    return dir.mkpath(QFileInfo(QDir::cleanPath(folder)).path()) &&
           dir.mkdir(folder,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
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
    // The writer's own names, and the names an older version's writer gave
    // (a dot and six letters or digits).
    static const QRegularExpression unfinished = [] {
        QStringList names;
        for (const QString &name : ProgramDataFileNames() + QStringList{AddressWorkFileName})
            names.append(QRegularExpression::escape(name));
        return QRegularExpression(u"^(?:"_s + names.join(u'|') +
                                  u")\\.(?:qmsave-)?[A-Za-z0-9]{6}$"_s);
    }();
    QDir dir(folder.isEmpty() ? QDir::currentPath() : folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (unfinished.match(name).hasMatch())
            dir.remove(name);

    // "Temp.Qmt" is written whole before it is renamed over "Address.Qmt",
    // so beside an address file it is a save that never finished. An older
    // version deleted the address file before it copied the work file over:
    // killed in between, the work file is all there is of the contacts, and
    // killed during the copy, the address file is the start of it.
    const QString work = dir.filePath(AddressWorkFileName);
    const QString address = dir.filePath(AddressFileName);
    if (!QFileInfo::exists(work))
        return;
    try {
        if (!QFileInfo::exists(address) || isStartOf(address, work))
            RenameFileOver(work, address);
        else
            dir.remove(AddressWorkFileName);
    } catch (const QuillmateError &) {
        // Left where it is: a folder where it cannot be renamed or removed
        // cannot be saved to either, so no address save removes it.
    }
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
    // A personal organiser's data is for its user alone.
    if (perUser.isEmpty() || !makePrivateFolder(perUser))
        return {folder};
    return {withSeparator(perUser)};
}

} // namespace qm
