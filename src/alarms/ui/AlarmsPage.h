#pragma once

#include "foundation/ui/Page.h"

namespace qm {

// The alarm clock with its three alarms.
class AlarmsPage : public Page {
    Q_OBJECT
public:
    explicit AlarmsPage(QWidget *parent = nullptr);
    // One tick of the page's clock (every 500 ms while the page is shown).
    void clockTick() {}

protected:
    void build() override;
};

} // namespace qm
