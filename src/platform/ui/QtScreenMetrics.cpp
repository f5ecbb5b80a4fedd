#include "platform/ui/QtScreenMetrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace qm {

QSize QtScreenMetrics::size() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(800, 600);
}

int QtScreenMetrics::colourDepth() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

int QtScreenMetrics::logicalDpi() const {
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInch()) : 96;
}

} // namespace qm
