#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace murmora {

// A set of pixels: bands of whole rows [top, bottom), each holding the same sorted, disjoint,
// non-touching spans [x0, x1) in every row. Bands with no pixels are not kept, and touching
// bands with equal spans are joined, so equal pixel sets compare equal.
class Region {
public:
    struct Bounds {
        int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
        bool operator==(const Bounds&) const = default;
    };

    Region() = default;

    // [left, right) x [top, bottom); corners given in any order.
    static Region Rectangle(int left, int top, int right, int bottom);
    // A rectangle with rounded corners and an ellipse, pixel for pixel as the Windows region
    // calls make them (the rules are in regions.cpp).
    static Region RoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                   int ellipseHeight);
    static Region Ellipse(int left, int top, int right, int bottom);

    Region United(const Region& other) const;

    bool IsEmpty() const { return bands_.empty(); }
    bool IsRectangle() const;
    bool Contains(int x, int y) const;
    std::int64_t Area() const;
    // The smallest box holding every pixel; all zero when empty.
    Bounds BoundingBox() const;
    // Calls fn once for each span of each band, top to bottom and left to right: together
    // the rectangles cover the region exactly, without overlap.
    void ForEachRect(const std::function<void(int left, int top, int right, int bottom)>& fn) const;

    bool operator==(const Region&) const = default;

private:
    struct Span {
        int x0, x1;
        bool operator==(const Span&) const = default;
    };
    struct Band {
        int top, bottom;
        std::vector<Span> spans;
        bool operator==(const Band&) const = default;
    };

    // Bands are added top to bottom.
    void AddBand(int top, int bottom, std::vector<Span> spans);
    const std::vector<Span>& SpansAt(int y) const;
    static std::vector<Span> MergeSpans(const std::vector<Span>& a, const std::vector<Span>& b);

    std::vector<Band> bands_; // sorted by top, not overlapping
};

// Region coordinates are 27-bit signed integers, as on the platform whose region calls
// Regions follows; values beyond are brought to the nearest end. It also keeps every width
// and area clear of overflow.
inline constexpr int MinRegionCoordinate = -(1 << 27);
inline constexpr int MaxRegionCoordinate = (1 << 27) - 1;

// Handle of a region held by a Regions service; 0 is no region.
using RegionHandle = std::uint32_t;

// CombineRgn modes.
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_COPY = 5;

// CombineRgn results: the kind of region made, or ERROR when nothing was done.
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Regions by handle, created, combined and deleted the way the window outline is built.
class Regions {
public:
    virtual ~Regions() = default;
    virtual RegionHandle CreateRectRgn(int left, int top, int right, int bottom) = 0;
    virtual RegionHandle CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                            int ellipseHeight) = 0;
    virtual RegionHandle CreateEllipticRgn(int left, int top, int right, int bottom) = 0;
    // dest := src1 (RGN_COPY, src2 unused) or src1 united with src2 (RGN_OR). Handles may repeat.
    virtual int CombineRgn(RegionHandle dest, RegionHandle src1, RegionHandle src2, int mode) = 0;
    // False when the handle holds no region.
    virtual bool DeleteObject(RegionHandle handle) = 0;
    // The region behind a handle, or nullptr when the handle holds none.
    virtual const Region* Find(RegionHandle handle) const = 0;
    virtual std::size_t LiveCount() const = 0;
};

// The program's region store: plain memory, no window system behind it.
class RegionTable : public Regions {
public:
    RegionHandle CreateRectRgn(int left, int top, int right, int bottom) override;
    RegionHandle CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                    int ellipseHeight) override;
    RegionHandle CreateEllipticRgn(int left, int top, int right, int bottom) override;
    int CombineRgn(RegionHandle dest, RegionHandle src1, RegionHandle src2, int mode) override;
    bool DeleteObject(RegionHandle handle) override;
    const Region* Find(RegionHandle handle) const override;
    std::size_t LiveCount() const override { return regions_.size(); }

private:
    RegionHandle Add(Region region);
    Region* FindMutable(RegionHandle handle);

    std::unordered_map<RegionHandle, Region> regions_;
    RegionHandle lastHandle_ = 0;
};

} // namespace murmora
