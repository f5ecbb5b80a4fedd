#pragma once

#include "foundation/ui/Page.h"

namespace qm {

// The calculator.
class CalculatorPage : public Page {
    Q_OBJECT
public:
    explicit CalculatorPage(QWidget *parent = nullptr);
    // The calculator's key engine: one typed character.
    void CalculatorKey(const QString &key) { Q_UNUSED(key); }
    // Typing anywhere in the window works the calculator while it is shown.
    void keyTyped(const QString &character) override { CalculatorKey(character); }
    QWidget *focusTarget() override;

protected:
    void build() override;
};

} // namespace qm
