#pragma once
#include "core/regions.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// The outline as a GDI region, made by GDI itself (CreateRoundRectRgn, CreateEllipticRgn,
// CombineRgn): on Windows the outline is exactly the one the system's pixel rules give. The
// caller owns the region.
HRGN gdiOutline(const Outline& outline);

} // namespace murmora::win32
