#pragma once

#include "platform/ScreenMetrics.h"

namespace qm {

// The primary screen as Qt reports it.
class QtScreenMetrics final : public ScreenMetrics {
public:
    QSize size() const override;
    int colourDepth() const override;
    int logicalDpi() const override;
};

} // namespace qm
