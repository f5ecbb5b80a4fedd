#include "foundation/DataFolder.h"

#include "platform/AppPaths.h"

#include <QDir>

namespace qm {

namespace {
bool isSeparator(QChar ch) {
    return ch == u'\\' || ch == u'/';
}

QString withSeparator(const QString &folder) {
    if (folder.isEmpty() || isSeparator(folder.back()))
        return folder;
    return folder + u'/';
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

QString ResolveDataFolder(const AppPaths &paths) {
    QString folder = DataFolderFromExePath(paths.executablePath());
    if (folder.isEmpty())
        folder = withSeparator(QDir::currentPath());
    if (paths.isWritableFolder(folder))
        return folder;
    const QString perUser = paths.perUserDataFolder();
    if (perUser.isEmpty() || !QDir().mkpath(perUser))
        return folder;
    return withSeparator(perUser);
}

} // namespace qm
