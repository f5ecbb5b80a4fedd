#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace qm {

using namespace Qt::StringLiterals;

QString SystemAppPaths::executablePath() const {
    return QDir::toNativeSeparators(QCoreApplication::applicationFilePath());
}

QString SystemAppPaths::perUserDataFolder() const {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool SystemAppPaths::isWritableFolder(const QString &folder) const {
    // Permission bits are not the whole story (read-only mounts, ACLs):
    // create and remove a real file to find out.
    const QString dir = folder.isEmpty() ? QDir::currentPath() : folder;
    QTemporaryFile probe(QDir(dir).filePath(u"qm-write-probe-XXXXXX"_s));
    return probe.open();
}

} // namespace qm
