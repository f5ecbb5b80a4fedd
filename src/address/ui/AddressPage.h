#pragma once

#include "foundation/ui/Page.h"

namespace qm {

// The address book.
class AddressPage : public Page {
    Q_OBJECT
public:
    explicit AddressPage(QWidget *parent = nullptr);
    // The key of the selected contact; -1 when none is selected.
    int CurrentKey = -1;

protected:
    void build() override;
};

} // namespace qm
