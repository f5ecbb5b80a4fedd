#pragma once

#include "platform/Shell.h"

#include <QUrl>

namespace qm {

// The desktop services of the system the program runs on.
class DesktopShell final : public Shell {
public:
    bool openAddress(const QString &address) override;
    // The address as the desktop is handed it.
    static QUrl urlOf(const QString &address);
};

} // namespace qm
