#include "diary/ui/DiaryPage.h"

#include "foundation/Settings.h"
#include "platform/Services.h"

using namespace Qt::StringLiterals;

namespace qm {

DiaryPage::DiaryPage(QWidget *parent) : Page(u"tabDiary"_s, parent), m_viewName(u"Daily"_s) {
    addCloseButton(u"cmdDiaryClose"_s);
}

const QStringList &DiaryPage::ViewNames() {
    static const QStringList names = {u"Daily"_s, u"Weekly"_s, u"Monthly"_s,
                                      u"Tasks"_s, u"All"_s,    u"Birthday"_s};
    return names;
}

void DiaryPage::pressViewButton(const QString &name) {
    if (ViewNames().contains(name))
        m_viewName = name;
}

void DiaryPage::leaveSave() {
    Settings(settingsStore()).setShowCompleted(m_showCompleted);
}

} // namespace qm
