#include "platform/ui/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

namespace qm {

SystemTrayIcon::SystemTrayIcon(QObject *parent) : TrayIcon(parent) {}

SystemTrayIcon::~SystemTrayIcon() = default;

bool SystemTrayIcon::isAvailable() const {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayIcon::add(const QIcon &icon, const QString &tip, QMenu *menu) {
    if (!m_icon) {
        // Created on first use: the notification area is only contacted when
        // the program actually goes there.
        m_icon = new QSystemTrayIcon(this);
        connect(m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit leftClicked();
                });
    }
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(menu);
    m_icon->show();
}

void SystemTrayIcon::remove() {
    if (m_icon)
        m_icon->hide();
}

bool SystemTrayIcon::isShown() const {
    return m_icon && m_icon->isVisible();
}

} // namespace qm
