#pragma once
#include "platform/screen_metrics.h"

namespace murmora::fakes {

// A screen of one resolution, 96 dots per inch unless told.
struct FixedScreen : ScreenMetrics {
    explicit FixedScreen(double dotsPerInch = 96) : dotsPerInch(dotsPerInch) {}
    double dotsPerInchX() const override { return dotsPerInch; }
    double dotsPerInchY() const override { return dotsPerInch; }
    double dotsPerInch;
};

} // namespace murmora::fakes
