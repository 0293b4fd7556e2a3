#pragma once
#include "platform/screen_metrics.h"

namespace murmora::fakes {

// A screen of fixed resolution.
struct FixedScreen : ScreenMetrics {
    explicit FixedScreen(double twipsPerPixel) : twipsPerPixel(twipsPerPixel) {}
    double twipsPerPixelX() const override { return twipsPerPixel; }
    double twipsPerPixelY() const override { return twipsPerPixel; }
    double twipsPerPixel;
};

} // namespace murmora::fakes
