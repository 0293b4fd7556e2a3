#include "platform/win32/win32_gdi_regions.h"

namespace murmora::win32 {

namespace {

HRGN gdiShape(const OutlineShape& shape) {
    if (shape.kind == OutlineShape::Kind::ellipse)
        return CreateEllipticRgn(shape.left, shape.top, shape.right, shape.bottom);
    return CreateRoundRectRgn(shape.left, shape.top, shape.right, shape.bottom, shape.cornerWidth, shape.cornerHeight);
}

} // namespace

HRGN gdiOutline(const Outline& outline) {
    const HRGN united = CreateRectRgn(0, 0, 0, 0);
    for (const OutlineShape& shape : outline) {
        const HRGN piece = gdiShape(shape);
        CombineRgn(united, united, piece, RGN_OR);
        DeleteObject(piece);
    }
    return united;
}

} // namespace murmora::win32
