#include "tests/windows/gdi_regions.h"

namespace murmora {

HRGN makeGdiOutline(const OutlineShapes& s) {
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    HRGN work = CreateRectRgn(0, 0, 0, 0);
    HRGN rounded = CreateRoundRectRgn(s.left, s.top, s.right, s.bottom, s.cornerWidth, s.cornerHeight);
    CombineRgn(outline, rounded, rounded, RGN_COPY);
    DeleteObject(rounded);
    HRGN disc = CreateEllipticRgn(s.discLeft, s.discTop, s.discRight, s.discBottom);
    CombineRgn(work, outline, outline, RGN_COPY);
    CombineRgn(outline, work, disc, RGN_OR);
    DeleteObject(disc);
    DeleteObject(work);
    return outline;
}

} // namespace murmora
