#include "platform/win32/gdi_regions.h"

#include <cstring>
#include <vector>

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

HRGN gdiRegionOf(const Region& region) {
    std::vector<RECT> rects;
    region.forEachRect([&rects](int left, int top, int right, int bottom) {
        rects.push_back({left, top, right, bottom});
    });
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    const Region::Bounds box = region.boundingBox();
    data->rdh = {sizeof(RGNDATAHEADER),
                 RDH_RECTANGLES,
                 static_cast<DWORD>(rects.size()),
                 static_cast<DWORD>(rects.size() * sizeof(RECT)),
                 {box.left, box.top, box.right, box.bottom}};
    std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data);
}

GdiRegions::~GdiRegions() {
    for (const auto& [handle, region] : regions_)
        DeleteObject(region);
}

RegionHandle GdiRegions::add(HRGN region) {
    if (!region) return 0;
    regions_[++lastHandle_] = region;
    return lastHandle_;
}

HRGN GdiRegions::gdiRegion(RegionHandle handle) const {
    const auto found = regions_.find(handle);
    return found == regions_.end() ? nullptr : found->second;
}

RegionHandle GdiRegions::createRectangle(int left, int top, int right, int bottom) {
    return add(CreateRectRgn(left, top, right, bottom));
}

RegionHandle GdiRegions::createRoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                                int ellipseHeight) {
    return add(CreateRoundRectRgn(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

RegionHandle GdiRegions::createEllipse(int left, int top, int right, int bottom) {
    return add(CreateEllipticRgn(left, top, right, bottom));
}

RegionKind GdiRegions::combine(RegionHandle dest, RegionHandle src1, RegionHandle src2, CombineMode mode) {
    const HRGN target = gdiRegion(dest);
    const HRGN first = gdiRegion(src1);
    const HRGN second = mode == CombineMode::copy ? first : gdiRegion(src2);
    if (!target || !first || !second) return RegionKind::none;
    read_.erase(dest);
    // The numbers of CombineMode and RegionKind are CombineRgn's own.
    const int kind = CombineRgn(target, first, second, static_cast<int>(mode));
    return kind == ERROR ? RegionKind::none : static_cast<RegionKind>(kind);
}

bool GdiRegions::remove(RegionHandle handle) {
    const auto found = regions_.find(handle);
    if (found == regions_.end()) return false;
    DeleteObject(found->second);
    regions_.erase(found);
    read_.erase(handle);
    return true;
}

const Region* GdiRegions::find(RegionHandle handle) const {
    const HRGN region = gdiRegion(handle);
    if (!region) return nullptr;
    auto [at, made] = read_.try_emplace(handle);
    if (made) at->second = regionOf(region);
    return &at->second;
}

} // namespace murmora
