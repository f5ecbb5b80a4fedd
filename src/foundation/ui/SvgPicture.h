#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <initializer_list>

namespace qm {

// A picture drawn once from an SVG resource at the size it is shown, for the
// screen's pixel ratio. Icons made from it need no icon engine: nothing is
// loaded or parsed again when they are painted.
QPixmap SvgPixmap(const QString &resource, QSize size);
QIcon SvgIcon(const QString &resource, QSize size);
// An icon drawn at each of sizes (square), for a window's icon, which the
// desktop shows at sizes of its own choosing.
QIcon SvgIcon(const QString &resource, std::initializer_list<int> sizes);

} // namespace qm
