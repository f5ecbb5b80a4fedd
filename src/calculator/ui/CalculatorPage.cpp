#include "calculator/ui/CalculatorPage.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

CalculatorPage::CalculatorPage(QWidget *parent) : Page(u"tabCalculator"_s, parent) {}

void CalculatorPage::build() {
    addCloseButton(u"cmdCalcClose"_s);
}

QWidget *CalculatorPage::focusTarget() {
    return closeButton();
}

} // namespace qm
