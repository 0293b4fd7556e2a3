#pragma once
#include "platform/win32/gdi_regions.h"

namespace murmora {

// The panel's outline in window pixels: a rounded rectangle united with a disc.
struct OutlineShapes {
    int left, top, right, bottom, cornerWidth, cornerHeight; // the rounded rectangle
    int discLeft, discTop, discRight, discBottom;
};

// The outline made with GDI in the panel's order: an empty target and work region, the
// rounded rectangle copied into the target, the disc united with a copy of it, every
// temporary region deleted. The caller owns the result.
HRGN makeGdiOutline(const OutlineShapes& shapes);

} // namespace murmora
