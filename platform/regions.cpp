#include "platform/regions.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace murmora {

namespace {

// Corner ellipses wider or higher than this are cut to it; it keeps the ellipse arithmetic
// below within 64 bits.
constexpr int MaxEllipseSize = 32767;

int ClampCoordinate(int value) { return std::clamp(value, MinRegionCoordinate, MaxRegionCoordinate); }

// The box with its corners in order and inside the coordinate range.
Region::Bounds NormalizedBox(int left, int top, int right, int bottom) {
    left = ClampCoordinate(left);
    right = ClampCoordinate(right);
    top = ClampCoordinate(top);
    bottom = ClampCoordinate(bottom);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    return {left, top, right, bottom};
}

// How many pixels the ellipse that fills a box of width x height pixels leaves out at the
// left (and as many at the right) of each row: the top row first, down to the middle row.
// A row with no pixel gets half the width, rounded up.
//
// This is the midpoint ellipse method. Coordinates are doubled and taken from the centre,
// so the pixel centres of odd and even sizes alike lie on whole numbers: column i at
// u = 2i - a, row k at v = b - 2k, in steps of 2, and the curve is F(u, v) = 0 with
// F = b²u² + a²v² - a²b². From the top, where the curve is flatter than 45 degrees, each step
// takes the next column, and the sign of F at the midpoint between the two candidate rows
// says whether the curve has dropped to the lower one; from there down each step takes the next
// row, and F at the midpoint between the two candidate columns says whether the curve has
// moved out to the next one. A midpoint exactly on the curve counts as inside.
std::vector<int> EllipseRowInsets(int width, int height) {
    const std::int64_t a = width - 1, b = height - 1;
    const std::int64_t aa = a * a, bb = b * b;
    auto outside = [&](std::int64_t u, std::int64_t v) { return bb * u * u + aa * v * v > aa * bb; };

    // Per row from the top, the outermost column reached; one column short of the first
    // one stands for "no pixel".
    const std::int64_t firstColumn = a % 2;
    std::vector<std::int64_t> reach(static_cast<std::size_t>(b / 2 + 1), firstColumn - 2);
    auto note = [&](std::int64_t u, std::int64_t v) {
        auto& row = reach[static_cast<std::size_t>((b - v) / 2)];
        row = std::max(row, u);
    };

    std::int64_t u = firstColumn, v = b;
    if (bb * u < aa * v) {
        for (;;) {
            note(u, v);
            if (bb * u >= aa * v) break; // 45 degrees reached
            if (outside(u + 2, v - 1)) {
                // Where the curve drops past the lower row too it has turned steep between
                // the columns: the rows take over from here.
                if (v < 2 || outside(u + 2, v - 3)) break;
                v -= 2;
            }
            u += 2;
        }
    } else {
        u -= 2; // steep from the top: no column taken yet
    }
    for (; v >= 0; v -= 2) {
        // Usually one column at most; more where the columns stopped early on a flat ellipse.
        while (!outside(u + 1, v)) u += 2;
        note(u, v);
    }

    std::vector<int> insets;
    insets.reserve(reach.size());
    std::int64_t widest = firstColumn - 2;
    for (std::int64_t r : reach) {
        widest = std::max(widest, r); // a row holds every column of the rows above it
        insets.push_back(static_cast<int>((a - widest) / 2));
    }
    return insets;
}

} // namespace

Region Region::Rectangle(int left, int top, int right, int bottom) {
    const Region::Bounds box = NormalizedBox(left, top, right, bottom);
    Region region;
    if (box.left < box.right && box.top < box.bottom) region.AddBand(box.top, box.bottom, {{box.left, box.right}});
    return region;
}

// The rules of the Windows calls CreateRoundRectRgn and CreateEllipticRgn:
// - the pixels lie in [left, right - 1) x [top, bottom - 1): the region leaves out one more
//   column at the right and one more row at the bottom than a rectangle region does (it is
//   the area a shape filled without a border covers);
// - the corner ellipse is at most as wide and high as the given box, and it too is one pixel
//   narrower and lower than its given size; the top-left corner is the top-left quarter of
//   that ellipse placed in the box's top-left corner, and so on for the other three;
// - a corner ellipse less than 2 pixels wide or high leaves the corners square;
// - the ellipse of CreateEllipticRgn is the rounded rectangle whose corner ellipse is the
//   whole box.
Region Region::RoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                int ellipseHeight) {
    const Region::Bounds box = NormalizedBox(left, top, right, bottom);
    if (box.left == box.right || box.top == box.bottom) return {};
    const int cornerWidth = std::min({std::abs(ellipseWidth), box.right - box.left, MaxEllipseSize}) - 1;
    const int cornerHeight = std::min({std::abs(ellipseHeight), box.bottom - box.top, MaxEllipseSize}) - 1;
    const int x0 = box.left, x1 = box.right - 1;
    const int y0 = box.top, y1 = box.bottom - 1;
    if (cornerWidth < 2 || cornerHeight < 2) return Rectangle(x0, y0, x1, y1);

    const std::vector<int> insets = EllipseRowInsets(cornerWidth, cornerHeight);
    const int cornerRows = static_cast<int>(insets.size());
    Region region;
    auto addRow = [&](int y, int inset) {
        if (x0 + inset < x1 - inset) region.AddBand(y, y + 1, {{x0 + inset, x1 - inset}});
    };
    for (int k = 0; k < cornerRows; ++k) addRow(y0 + k, insets[static_cast<std::size_t>(k)]);
    const int middleTop = y0 + cornerRows;
    const int middleBottom = y1 - cornerRows;
    if (middleTop < middleBottom) region.AddBand(middleTop, middleBottom, {{x0, x1}});
    for (int k = cornerRows - 1; k >= 0; --k) {
        const int y = y1 - 1 - k;
        if (y >= middleTop) addRow(y, insets[static_cast<std::size_t>(k)]); // the middle row of an odd height comes once
    }
    return region;
}

Region Region::Ellipse(int left, int top, int right, int bottom) {
    const Region::Bounds box = NormalizedBox(left, top, right, bottom);
    return RoundedRectangle(box.left, box.top, box.right, box.bottom, box.right - box.left, box.bottom - box.top);
}

Region Region::United(const Region& other) const {
    // Cut both at every band edge; between two neighbouring edges each side has one set of
    // spans (or none), and the union of the two is the result there.
    std::vector<int> edges;
    edges.reserve(2 * (bands_.size() + other.bands_.size()));
    for (const Region* region : {this, &other}) {
        for (const Band& band : region->bands_) {
            edges.push_back(band.top);
            edges.push_back(band.bottom);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    Region result;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        result.AddBand(edges[i], edges[i + 1], MergeSpans(SpansAt(edges[i]), other.SpansAt(edges[i])));
    }
    return result;
}

bool Region::IsRectangle() const { return bands_.size() == 1 && bands_.front().spans.size() == 1; }

bool Region::Contains(int x, int y) const {
    for (const Span& span : SpansAt(y)) {
        if (x < span.x0) return false;
        if (x < span.x1) return true;
    }
    return false;
}

std::int64_t Region::Area() const {
    std::int64_t area = 0;
    ForEachRect([&](int left, int top, int right, int bottom) {
        area += static_cast<std::int64_t>(right - left) * (bottom - top);
    });
    return area;
}

Region::Bounds Region::BoundingBox() const {
    if (bands_.empty()) return {};
    Bounds bounds{bands_.front().spans.front().x0, bands_.front().top, bands_.front().spans.back().x1,
                  bands_.back().bottom};
    for (const Band& band : bands_) {
        bounds.left = std::min(bounds.left, band.spans.front().x0);
        bounds.right = std::max(bounds.right, band.spans.back().x1);
    }
    return bounds;
}

void Region::ForEachRect(const std::function<void(int left, int top, int right, int bottom)>& fn) const {
    for (const Band& band : bands_) {
        for (const Span& span : band.spans) fn(span.x0, band.top, span.x1, band.bottom);
    }
}

void Region::AddBand(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty()) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back({top, bottom, std::move(spans)});
}

const std::vector<Region::Span>& Region::SpansAt(int y) const {
    static const std::vector<Span> none;
    auto after = std::upper_bound(bands_.begin(), bands_.end(), y,
                                  [](int row, const Band& band) { return row < band.top; });
    if (after == bands_.begin()) return none;
    const Band& band = *std::prev(after);
    return y < band.bottom ? band.spans : none;
}

std::vector<Region::Span> Region::MergeSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> all;
    all.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(all),
               [](const Span& s, const Span& t) { return s.x0 < t.x0; });
    std::vector<Span> merged;
    for (const Span& span : all) {
        if (!merged.empty() && span.x0 <= merged.back().x1) {
            merged.back().x1 = std::max(merged.back().x1, span.x1); // overlapping or touching
        } else {
            merged.push_back(span);
        }
    }
    return merged;
}

RegionHandle RegionTable::CreateRectRgn(int left, int top, int right, int bottom) {
    return Add(Region::Rectangle(left, top, right, bottom));
}

RegionHandle RegionTable::CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                             int ellipseHeight) {
    return Add(Region::RoundedRectangle(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

RegionHandle RegionTable::CreateEllipticRgn(int left, int top, int right, int bottom) {
    return Add(Region::Ellipse(left, top, right, bottom));
}

int RegionTable::CombineRgn(RegionHandle dest, RegionHandle src1, RegionHandle src2, int mode) {
    Region* target = FindMutable(dest);
    const Region* first = Find(src1);
    if (!target || !first) return RGN_ERROR;
    if (mode == RGN_COPY) {
        *target = *first;
    } else if (const Region* second = Find(src2); mode == RGN_OR && second) {
        *target = first->United(*second);
    } else {
        return RGN_ERROR;
    }
    if (target->IsEmpty()) return NULLREGION;
    return target->IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

bool RegionTable::DeleteObject(RegionHandle handle) { return regions_.erase(handle) > 0; }

const Region* RegionTable::Find(RegionHandle handle) const {
    auto found = regions_.find(handle);
    return found == regions_.end() ? nullptr : &found->second;
}

Region* RegionTable::FindMutable(RegionHandle handle) {
    auto found = regions_.find(handle);
    return found == regions_.end() ? nullptr : &found->second;
}

RegionHandle RegionTable::Add(Region region) {
    // Each region gets a fresh number (never 0), so a deleted handle finds nothing.
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || regions_.count(lastHandle_) > 0);
    regions_.emplace(lastHandle_, std::move(region));
    return lastHandle_;
}

} // namespace murmora
