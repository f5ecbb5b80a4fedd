#pragma once

#include <QSize>

namespace qm {

// What the program needs to know of the screen it runs on.
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual QSize size() const = 0;
    virtual int colourDepth() const = 0; // bits per pixel
    virtual int logicalDpi() const = 0;
};

} // namespace qm
