#pragma once
#include <cstdint>

#include "core/regions.h"
#include "platform/screen_metrics.h"

namespace murmora {

// A design value of the panel (pixels at 96 dots per inch) in window pixels:
// scale x value x dots per inch / 96 + offset, to the nearest integer with an exact half going
// to the even neighbour. A result that is no number or lies outside the region coordinate
// range is brought to 0 or to the nearest end of that range.
int designToWindowPixels(int designValue, float scale, double dotsPerInch, int offset);

// The panel's outline: a rounded rectangle on the left united with a disc bulging out to the
// right. The resolution is read from the screen for every value.
Outline panelOutline(const ScreenMetrics& screen, float scaleX, float scaleY, std::int16_t offsetX,
                     std::int16_t offsetY);

} // namespace murmora
