#pragma once

#include "platform/Shell.h"

namespace qm {

// The desktop services of the system the program runs on.
class DesktopShell final : public Shell {
public:
    bool openAddress(const QString &address) override;
};

} // namespace qm
