#include "shell/ui/ConfigPage.h"

using namespace Qt::StringLiterals;

namespace qm {

ConfigPage::ConfigPage(QWidget *parent) : Page(u"tabConfig"_s, parent) {}

void ConfigPage::build() {
    addCloseButton(u"cmdConfigClose"_s);
}

} // namespace qm
