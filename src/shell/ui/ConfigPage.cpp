#include "shell/ui/ConfigPage.h"

using namespace Qt::StringLiterals;

namespace qm {

ConfigPage::ConfigPage(QWidget *parent) : Page(u"tabConfig"_s, parent) {
    addCloseButton(u"cmdConfigClose"_s);
}

} // namespace qm
