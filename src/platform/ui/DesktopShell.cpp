#include "platform/ui/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qm {

bool DesktopShell::openAddress(const QString &address) {
    // Tolerant: an address typed by the user may hold spaces or other
    // characters a strict URL would refuse; the mail program gets them encoded.
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

} // namespace qm
