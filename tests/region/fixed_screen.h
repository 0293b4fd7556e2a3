#pragma once
#include "platform/screen_metrics.h"

namespace murmora::fakes {

// A screen of fixed resolution.
struct FixedScreen : ScreenMetrics {
    explicit FixedScreen(double dotsPerInch) : dotsPerInch(dotsPerInch) {}
    double dotsPerInchX() const override { return dotsPerInch; }
    double dotsPerInchY() const override { return dotsPerInch; }
    double dotsPerInch;
};

} // namespace murmora::fakes
