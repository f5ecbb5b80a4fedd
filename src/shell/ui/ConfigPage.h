#pragma once

#include "foundation/ui/Page.h"

namespace qm {

// The configuration page: starting page, password, start-up and close-down
// choices and the colour style.
class ConfigPage : public Page {
    Q_OBJECT
public:
    explicit ConfigPage(QWidget *parent = nullptr);

protected:
    void build() override;
};

} // namespace qm
