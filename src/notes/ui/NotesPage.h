#pragma once

#include "foundation/ui/Page.h"

namespace qm {

// The rich-text note pad.
class NotesPage : public Page {
    Q_OBJECT
public:
    explicit NotesPage(QWidget *parent = nullptr);

protected:
    void build() override;
};

} // namespace qm
