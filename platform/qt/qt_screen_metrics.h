#pragma once
#include "platform/screen_metrics.h"

namespace murmora {

// Twips per pixel of the primary screen: 1440 / its logical dots per inch.
class QtScreenMetrics final : public ScreenMetrics {
public:
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
};

} // namespace murmora
