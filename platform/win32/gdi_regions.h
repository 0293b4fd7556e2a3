#pragma once
#include <map>
#include <vector>

#include "platform/regions.h"
#include "platform/wide/wide.h"

namespace murmora {

// Regions made by GDI itself (CreateRectRgn, CreateRoundRectRgn, CreateEllipticRgn, CombineRgn,
// DeleteObject): on Windows the outline is exactly the one the system's pixel rules give.
class GdiRegions final : public Regions {
public:
    GdiRegions() = default;
    ~GdiRegions() override;
    GdiRegions(const GdiRegions&) = delete;
    GdiRegions& operator=(const GdiRegions&) = delete;

    RegionHandle createRectangle(int left, int top, int right, int bottom) override;
    RegionHandle createRoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                        int ellipseHeight) override;
    RegionHandle createEllipse(int left, int top, int right, int bottom) override;
    RegionKind combine(RegionHandle dest, RegionHandle src1, RegionHandle src2, CombineMode mode) override;
    bool remove(RegionHandle handle) override;
    // The GDI region's rectangles as a Region, made when asked.
    const Region* find(RegionHandle handle) const override;
    std::size_t liveCount() const override { return regions_.size(); }

private:
    RegionHandle add(HRGN region);
    HRGN gdiRegion(RegionHandle handle) const;

    std::map<RegionHandle, HRGN> regions_;
    mutable std::map<RegionHandle, Region> read_; // what find() gave, until the region changes
    RegionHandle lastHandle_ = 0;
};

// The rectangles GetRegionData gives for a region: bands top to bottom, left to right.
std::vector<RECT> gdiRegionRects(HRGN region);
// The rectangles of a GDI region, united.
Region regionOf(HRGN region);
// A GDI region of exactly the region's pixels; the caller owns it.
HRGN gdiRegionOf(const Region& region);

} // namespace murmora
