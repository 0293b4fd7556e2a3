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
    static Region rectangle(int left, int top, int right, int bottom);
    // A rectangle with rounded corners and an ellipse, pixel for pixel as the Windows region
    // calls make them (the rules are in regions.cpp).
    static Region roundedRectangle(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    static Region ellipse(int left, int top, int right, int bottom);

    Region united(const Region& other) const;

    bool isEmpty() const { return bands_.empty(); }
    bool isRectangle() const;
    bool contains(int x, int y) const;
    std::int64_t area() const;
    // The smallest box holding every pixel; all zero when empty.
    Bounds boundingBox() const;
    // Calls fn once for each span of each band, top to bottom and left to right: together
    // the rectangles cover the region exactly, without overlap.
    void forEachRect(const std::function<void(int left, int top, int right, int bottom)>& fn) const;

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
    void addBand(int top, int bottom, std::vector<Span> spans);
    const std::vector<Span>& spansAt(int y) const;
    static std::vector<Span> mergeSpans(const std::vector<Span>& a, const std::vector<Span>& b);

    std::vector<Band> bands_; // sorted by top, not overlapping
};

// Region coordinates are 27-bit signed integers, as on the platform whose region calls
// Regions follows; values beyond are brought to the nearest end. It also keeps every width
// and area clear of overflow.
inline constexpr int kMinRegionCoordinate = -(1 << 27);
inline constexpr int kMaxRegionCoordinate = (1 << 27) - 1;

// Handle of a region held by a Regions service; 0 is no region.
using RegionHandle = std::uint32_t;

// How combine() makes its destination, by the numbers of the Windows call CombineRgn.
enum class CombineMode {
    unite = 2,
    copy = 5
};

// The kind of region combine() made, or `none` when it did nothing (the numbers of CombineRgn's results).
enum class RegionKind {
    none = 0,
    empty = 1,
    simple = 2,
    complex = 3
};

// Regions by handle, created, combined and removed the way the window outline is built (as the
// Windows region calls do).
class Regions {
public:
    virtual ~Regions() = default;
    virtual RegionHandle createRectangle(int left, int top, int right, int bottom) = 0;
    virtual RegionHandle createRoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                                int ellipseHeight) = 0;
    virtual RegionHandle createEllipse(int left, int top, int right, int bottom) = 0;
    // dest := src1 (copy, src2 unused) or src1 united with src2 (unite). Handles may repeat.
    virtual RegionKind combine(RegionHandle dest, RegionHandle src1, RegionHandle src2, CombineMode mode) = 0;
    // False when the handle holds no region.
    virtual bool remove(RegionHandle handle) = 0;
    // The region behind a handle, or nullptr when the handle holds none.
    virtual const Region* find(RegionHandle handle) const = 0;
    virtual std::size_t liveCount() const = 0;
};

// The program's region store: plain memory, no window system behind it.
class RegionTable : public Regions {
public:
    RegionHandle createRectangle(int left, int top, int right, int bottom) override;
    RegionHandle createRoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                        int ellipseHeight) override;
    RegionHandle createEllipse(int left, int top, int right, int bottom) override;
    RegionKind combine(RegionHandle dest, RegionHandle src1, RegionHandle src2, CombineMode mode) override;
    bool remove(RegionHandle handle) override;
    const Region* find(RegionHandle handle) const override;
    std::size_t liveCount() const override { return regions_.size(); }

private:
    RegionHandle add(Region region);
    Region* findMutable(RegionHandle handle);

    std::unordered_map<RegionHandle, Region> regions_;
    RegionHandle lastHandle_ = 0;
};

} // namespace murmora
