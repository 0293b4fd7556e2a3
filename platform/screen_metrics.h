#pragma once

namespace murmora {

// The screen's resolution in logical dots (pixels) per inch, across and down: 96 on most
// screens, 120 at a scale of 125 %.
class ScreenMetrics {
public:
    virtual ~ScreenMetrics() = default;
    virtual double dotsPerInchX() const = 0;
    virtual double dotsPerInchY() const = 0;
};

} // namespace murmora
