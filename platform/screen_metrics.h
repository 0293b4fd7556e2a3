#pragma once

namespace murmora {

// The screen's resolution as twips per logical pixel (1440 / logical dots per inch):
// 15 at 96 dots per inch, 12 at 120.
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};

} // namespace murmora
