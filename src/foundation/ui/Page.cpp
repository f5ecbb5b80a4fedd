#include "foundation/ui/Page.h"

#include "foundation/ui/ErrorReport.h"
#include "foundation/ui/Styling.h"

#include <QPushButton>

using namespace Qt::StringLiterals;

namespace qm {

namespace {
// The Close picture in the main window's small-button image list.
constexpr int CloseImageIndex = 6;
} // namespace

Page::Page(const QString &objectName, QWidget *parent) : QWidget(parent) {
    setObjectName(objectName);
    setFixedSize(Width, Height);
    // Every page lies on a background panel painted in the first scheme colour.
    m_background = new GradientPanel(this, 1);
    m_background->setObjectName(objectName + u"Panel"_s);
    m_background->setGeometry(0, 0, Width, Height);
}

bool Page::ensureBuilt() {
    if (m_built)
        return false;
    m_built = true;
    build();
    return true;
}

QPushButton *Page::addCloseButton(const QString &objectName) {
    m_closeButton = new QPushButton(u"&Close"_s, m_background);
    m_closeButton->setObjectName(objectName);
    m_closeButton->setToolTip(u"Close Quillmate"_s);
    // Every page's Close button shows the same picture.
    m_closeButton->setProperty(ImageIndexProperty, CloseImageIndex);
    m_closeButton->setGeometry(Width - 87, Height - 35, 75, 25);
    connect(m_closeButton, &QPushButton::clicked, this,
            Reported([this] { emit closeRequested(); }));
    return m_closeButton;
}

} // namespace qm
