#pragma once
#include <cstdint>
#include <functional>
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
// Region follows; values beyond are brought to the nearest end. It also keeps every width
// and area clear of overflow.
inline constexpr int kMinRegionCoordinate = -(1 << 27);
inline constexpr int kMaxRegionCoordinate = (1 << 27) - 1;

// One shape of a window's outline, in window pixels: a rectangle with rounded corners or an
// ellipse, in the box [left, right) x [top, bottom), pixel for pixel as Region makes them. An
// outline is the union of its shapes.
struct OutlineShape {
    enum class Kind {
        roundedRectangle,
        ellipse
    };
    Kind kind;
    int left, top, right, bottom;
    int cornerWidth = 0, cornerHeight = 0; // the size of a rounded rectangle's corner ellipse

    static OutlineShape roundedRectangle(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
        return {Kind::roundedRectangle, left, top, right, bottom, cornerWidth, cornerHeight};
    }
    static OutlineShape ellipse(int left, int top, int right, int bottom) {
        return {Kind::ellipse, left, top, right, bottom};
    }
    bool operator==(const OutlineShape&) const = default;
};

using Outline = std::vector<OutlineShape>;

// The pixels of an outline.
Region regionOf(const Outline& outline);

} // namespace murmora
