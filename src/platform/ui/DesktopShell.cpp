#include "platform/ui/DesktopShell.h"

#include <QDesktopServices>
#include <QUrl>

namespace qm {

QUrl DesktopShell::urlOf(const QString &address) {
    // Tolerant: an address typed by the user may hold spaces or other
    // characters a strict URL would refuse; the mail program gets them
    // encoded, and what is encoded already ("%0d") stays as it is.
    return QUrl(address, QUrl::TolerantMode);
}

bool DesktopShell::openAddress(const QString &address) {
    return QDesktopServices::openUrl(urlOf(address));
}

} // namespace qm
