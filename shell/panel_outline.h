#pragma once
#include <cstdint>

#include "platform/regions.h"
#include "platform/screen_metrics.h"

namespace murmora {

// A design value of the panel (pixels at 15 twips per pixel) in window pixels:
// scale x value x 15 / twipsPerPixel + offset, to the nearest integer with an exact half going
// to the even neighbour. A result that is no number or lies outside the region coordinate
// range is brought to 0 or to the nearest end of that range.
int designToWindowPixels(int designValue, float scale, double twipsPerPixel, int offset);

// Builds the panel's outline, a rounded rectangle on the left united with a disc bulging out
// to the right, and returns its handle. The twips per pixel are read from the screen for every
// value. Of the regions made here only the outline is left alive; the caller removes it when
// the panel goes.
RegionHandle makePanelOutline(Regions& regions, const ScreenMetrics& screen, float scaleX, float scaleY,
                              std::int16_t offsetX, std::int16_t offsetY);

} // namespace murmora
