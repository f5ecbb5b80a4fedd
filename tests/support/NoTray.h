#pragma once

#include "platform/ui/TrayIcon.h"

namespace qm::test {

// A notification area that is never there, so a test leaves the desktop's
// own alone.
class NoTray final : public TrayIcon {
public:
    bool isAvailable() const override { return false; }
    void add(const QIcon &, const QString &, QMenu *) override {}
    void remove() override {}
    bool isShown() const override { return false; }
};

} // namespace qm::test
