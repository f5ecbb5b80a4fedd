#include "alarms/ui/AlarmsPage.h"

using namespace Qt::StringLiterals;

namespace qm {

AlarmsPage::AlarmsPage(QWidget *parent) : Page(u"tabAlarms"_s, parent) {}

void AlarmsPage::build() {
    addCloseButton(u"cmdAlarmClose"_s);
}

} // namespace qm
