#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace qm {

// The program's icon in the desktop's notification area.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // False where the desktop has no notification area: the program then
    // minimises normally instead of hiding in the tray.
    virtual bool isAvailable() const = 0;
    // Shows the icon with its tip; a right click opens menu.
    virtual void add(const QIcon &icon, const QString &tip, QMenu *menu) = 0;
    virtual void remove() = 0;
    virtual bool isShown() const = 0;

signals:
    // A left click on the icon.
    void leftClicked();
};

// The desktop's own notification area.
class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject *parent = nullptr);
    ~SystemTrayIcon() override;
    bool isAvailable() const override;
    void add(const QIcon &icon, const QString &tip, QMenu *menu) override;
    void remove() override;
    bool isShown() const override;

private:
    QSystemTrayIcon *m_icon = nullptr;
};

} // namespace qm
