#include "address/ui/AddressPage.h"

using namespace Qt::StringLiterals;

namespace qm {

AddressPage::AddressPage(QWidget *parent) : Page(u"tabAddress"_s, parent) {
    addCloseButton(u"cmdCloseName"_s);
}

} // namespace qm
