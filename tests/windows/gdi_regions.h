#pragma once
#include <vector>

#include "core/regions.h"
#include "platform/win32/win32_gdi_regions.h"

namespace murmora {
using namespace murmora::win32;

// The rectangles GetRegionData gives for a region: bands top to bottom, left to right.
std::vector<RECT> gdiRegionRects(HRGN region);
// The rectangles of a GDI region, united.
Region regionOf(HRGN region);

} // namespace murmora
