#include "platform/regions.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <utility>

namespace murmora {

namespace {

// Corner ellipses wider or higher than this are cut to it; it keeps the ellipse arithmetic
// below within 64 bits.
constexpr int kMaxEllipseSize = 32767;

int clampCoordinate(int value) { return std::clamp(value, kMinRegionCoordinate, kMaxRegionCoordinate); }

// The box with its corners in order and inside the coordinate range.
Region::Bounds normalizedBox(int left, int top, int right, int bottom) {
    left = clampCoordinate(left);
    right = clampCoordinate(right);
    top = clampCoordinate(top);
    bottom = clampCoordinate(bottom);
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
std::vector<int> ellipseRowInsets(int width, int height) {
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
        while (!outside(u + 1, v))
            u += 2;
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

Region Region::rectangle(int left, int top, int right, int bottom) {
    const Region::Bounds box = normalizedBox(left, top, right, bottom);
    Region region;
    if (box.left < box.right && box.top < box.bottom) region.addBand(box.top, box.bottom, {{box.left, box.right}});
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
Region Region::roundedRectangle(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    const Region::Bounds box = normalizedBox(left, top, right, bottom);
    if (box.left == box.right || box.top == box.bottom) return {};
    const int cornerWidth = std::min({std::abs(ellipseWidth), box.right - box.left, kMaxEllipseSize}) - 1;
    const int cornerHeight = std::min({std::abs(ellipseHeight), box.bottom - box.top, kMaxEllipseSize}) - 1;
    const int x0 = box.left, x1 = box.right - 1;
    const int y0 = box.top, y1 = box.bottom - 1;
    if (cornerWidth < 2 || cornerHeight < 2) return rectangle(x0, y0, x1, y1);

    const std::vector<int> insets = ellipseRowInsets(cornerWidth, cornerHeight);
    const int cornerRows = static_cast<int>(insets.size());
    Region region;
    auto addRow = [&](int y, int inset) {
        if (x0 + inset < x1 - inset) region.addBand(y, y + 1, {{x0 + inset, x1 - inset}});
    };
    for (int k = 0; k < cornerRows; ++k)
        addRow(y0 + k, insets[static_cast<std::size_t>(k)]);
    const int middleTop = y0 + cornerRows;
    const int middleBottom = y1 - cornerRows;
    if (middleTop < middleBottom) region.addBand(middleTop, middleBottom, {{x0, x1}});
    for (int k = cornerRows - 1; k >= 0; --k) {
        const int y = y1 - 1 - k;
        if (y >= middleTop)
            addRow(y, insets[static_cast<std::size_t>(k)]); // the middle row of an odd height comes once
    }
    return region;
}

Region Region::ellipse(int left, int top, int right, int bottom) {
    const Region::Bounds box = normalizedBox(left, top, right, bottom);
    return roundedRectangle(box.left, box.top, box.right, box.bottom, box.right - box.left, box.bottom - box.top);
}

Region Region::united(const Region& other) const {
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
        result.addBand(edges[i], edges[i + 1], mergeSpans(spansAt(edges[i]), other.spansAt(edges[i])));
    }
    return result;
}

bool Region::isRectangle() const { return bands_.size() == 1 && bands_.front().spans.size() == 1; }

bool Region::contains(int x, int y) const {
    for (const Span& span : spansAt(y)) {
        if (x < span.x0) return false;
        if (x < span.x1) return true;
    }
    return false;
}

std::int64_t Region::area() const {
    std::int64_t area = 0;
    forEachRect([&](int left, int top, int right, int bottom) {
        area += static_cast<std::int64_t>(right - left) * (bottom - top);
    });
    return area;
}

Region::Bounds Region::boundingBox() const {
    if (bands_.empty()) return {};
    Bounds bounds{bands_.front().spans.front().x0, bands_.front().top, bands_.front().spans.back().x1,
                  bands_.back().bottom};
    for (const Band& band : bands_) {
        bounds.left = std::min(bounds.left, band.spans.front().x0);
        bounds.right = std::max(bounds.right, band.spans.back().x1);
    }
    return bounds;
}

void Region::forEachRect(const std::function<void(int left, int top, int right, int bottom)>& fn) const {
    for (const Band& band : bands_) {
        for (const Span& span : band.spans)
            fn(span.x0, band.top, span.x1, band.bottom);
    }
}

void Region::addBand(int top, int bottom, std::vector<Span> spans) {
    if (spans.empty()) return;
    if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
        bands_.back().bottom = bottom;
        return;
    }
    bands_.push_back({top, bottom, std::move(spans)});
}

const std::vector<Region::Span>& Region::spansAt(int y) const {
    static const std::vector<Span> none;
    auto after =
        std::upper_bound(bands_.begin(), bands_.end(), y, [](int row, const Band& band) { return row < band.top; });
    if (after == bands_.begin()) return none;
    const Band& band = *std::prev(after);
    return y < band.bottom ? band.spans : none;
}

std::vector<Region::Span> Region::mergeSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
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

RegionHandle RegionTable::createRectangle(int left, int top, int right, int bottom) {
    return add(Region::rectangle(left, top, right, bottom));
}

RegionHandle RegionTable::createRoundedRectangle(int left, int top, int right, int bottom, int ellipseWidth,
                                                 int ellipseHeight) {
    return add(Region::roundedRectangle(left, top, right, bottom, ellipseWidth, ellipseHeight));
}

RegionHandle RegionTable::createEllipse(int left, int top, int right, int bottom) {
    return add(Region::ellipse(left, top, right, bottom));
}

RegionKind RegionTable::combine(RegionHandle dest, RegionHandle src1, RegionHandle src2, CombineMode mode) {
    Region* target = findMutable(dest);
    const Region* first = find(src1);
    if (!target || !first) return RegionKind::none;
    if (mode == CombineMode::copy) {
        *target = *first;
    } else if (const Region* second = find(src2); mode == CombineMode::unite && second) {
        *target = first->united(*second);
    } else {
        return RegionKind::none;
    }
    if (target->isEmpty()) return RegionKind::empty;
    return target->isRectangle() ? RegionKind::simple : RegionKind::complex;
}

bool RegionTable::remove(RegionHandle handle) { return regions_.erase(handle) > 0; }

const Region* RegionTable::find(RegionHandle handle) const {
    auto found = regions_.find(handle);
    return found == regions_.end() ? nullptr : &found->second;
}

Region* RegionTable::findMutable(RegionHandle handle) {
    auto found = regions_.find(handle);
    return found == regions_.end() ? nullptr : &found->second;
}

RegionHandle RegionTable::add(Region region) {
    // Each region gets a fresh number (never 0), so a deleted handle finds nothing.
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || regions_.count(lastHandle_) > 0);
    regions_.emplace(lastHandle_, std::move(region));
    return lastHandle_;
}

} // namespace murmora
