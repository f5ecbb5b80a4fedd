#include "foundation/ui/SvgPicture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace qm {

QPixmap SvgPixmap(const QString &resource, QSize size) {
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon SvgIcon(const QString &resource, QSize size) {
    return QIcon(SvgPixmap(resource, size));
}

QIcon SvgIcon(const QString &resource, std::initializer_list<int> sizes) {
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(SvgPixmap(resource, QSize(size, size)));
    return icon;
}

} // namespace qm
