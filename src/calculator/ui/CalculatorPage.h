#pragma once

#include "calculator/Calculator.h"
#include "foundation/ui/Page.h"

class QLabel;
class QPushButton;

namespace qm {

// The calculator: a display, a memory indicator and twenty-four buttons over
// the key engine. Its state lives as long as the main window and survives
// page changes.
class CalculatorPage : public Page {
    Q_OBJECT
public:
    explicit CalculatorPage(QWidget *parent = nullptr);

    // Clears the calculator, memory included, for the system's decimal
    // separator, which the point button then shows and sends.
    void ResetCalculator(QChar decimalSep);
    // One key, from a button's caption or a typed character.
    void CalculatorKey(const QString &key);
    // Every button's click: the caption is the key.
    void spd0Click(QPushButton *button);
    // Typing anywhere in the window works the calculator while it is shown.
    void keyTyped(const QString &character) override { CalculatorKey(character); }
    QWidget *focusTarget() override;

    const Calculator &calculator() const { return m_calculator; }

protected:
    void build() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Shows the engine's display and memory indicator.
    void showState();

    Calculator m_calculator;
    QLabel *m_value = nullptr;
    QLabel *m_memory = nullptr;
    QPushButton *m_point = nullptr;
};

} // namespace qm
