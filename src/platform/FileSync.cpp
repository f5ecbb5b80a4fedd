#include "platform/FileSync.h"

#include <QFileDevice>

#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qm {

bool SyncFileToDisk(QFileDevice &file, QString *reason) {
    const int handle = file.handle();
    if (handle < 0) {
        *reason = QStringLiteral("The File Is Not Open");
        return false;
    }
#if defined(Q_OS_WIN)
    const bool synced = ::_commit(handle) == 0;
#else
    int result;
    do
        result = ::fsync(handle);
    while (result != 0 && errno == EINTR);
    // A file system without sync support (EINVAL, ENOTSUP) has nothing to add.
    const bool synced = result == 0 || errno == EINVAL || errno == ENOTSUP;
#endif
    if (!synced)
        *reason = QString::fromLocal8Bit(std::strerror(errno));
    return synced;
}

} // namespace qm
