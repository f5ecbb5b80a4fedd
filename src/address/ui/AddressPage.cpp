#include "address/ui/AddressPage.h"

using namespace Qt::StringLiterals;

namespace qm {

AddressPage::AddressPage(QWidget *parent) : Page(u"tabAddress"_s, parent) {}

void AddressPage::build() {
    addCloseButton(u"cmdCloseName"_s);
}

} // namespace qm
