#include "tests/windows/gdi_regions.h"

#include <cstring>

namespace murmora {

std::vector<RECT> gdiRegionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) return {};
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(region, size, data) != size) return {};
    std::vector<RECT> rects(data->rdh.nCount);
    std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    return rects;
}

Region regionOf(HRGN region) {
    Region out;
    for (const RECT& r : gdiRegionRects(region))
        out = out.united(Region::rectangle(r.left, r.top, r.right, r.bottom));
    return out;
}

} // namespace murmora
