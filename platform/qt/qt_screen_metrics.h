#pragma once
#include "platform/screen_metrics.h"

namespace murmora::qt {

// The logical dots per inch of the primary screen; 96 without one.
class QtScreenMetrics final : public ScreenMetrics {
public:
    double dotsPerInchX() const override;
    double dotsPerInchY() const override;
};

} // namespace murmora::qt
