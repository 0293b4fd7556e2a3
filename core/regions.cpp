#include "core/regions.h"

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

// How many pixels each row of an ellipse of width x height pixels (both at least 2) leaves out
// at its left (and as many at its right), from its middle row (height / 2) down to its bottom
// row; the rows above the middle mirror them.
//
// This is how GDI walks the curve: Zingl's error-term method for an ellipse inscribed in a box
// of pixels, with a = width - 1 and b = height - 1 the distances between the outermost pixel
// centres. The walk starts on the middle row with nothing left out. At each step the error term
// says whether the curve moves in by a column, down by a row, or both; each row reached takes
// the inset the walk has at that moment. The walk ends once the inset passes half the width.
// On a tall, narrow ellipse it ends before the bottom row: the rows not reached hold the tip,
// the middle one or two pixels.
std::vector<int> ellipseRowInsets(int width, int height) {
    const std::int64_t a = width - 1, b = height - 1;
    const std::int64_t oddRows = b % 2;
    const std::int64_t acrossGrowth = 8 * b * b, downGrowth = 8 * a * a;
    std::int64_t acrossStep = 4 * b * b * (1 - a);     // the error's change for a column in
    std::int64_t downStep = 4 * a * a * (1 + oddRows); // and for a row down
    std::int64_t error = acrossStep + downStep + a * a * oddRows;

    const int tip = (width - 1) / 2;
    std::vector<int> insets(static_cast<std::size_t>(height - height / 2), tip);
    insets[0] = 0;
    int inset = 0;
    std::size_t row = 0;
    while (inset <= width / 2) {
        const std::int64_t doubled = 2 * error;
        if (doubled >= acrossStep) {
            ++inset;
            acrossStep += acrossGrowth;
            error += acrossStep;
        }
        if (doubled <= downStep) {
            if (++row == insets.size()) break;
            downStep += downGrowth;
            error += downStep;
            insets[row] = inset;
        }
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
//   column at the right and one more row at the bottom than a rectangle region does;
// - the corner ellipse is as wide and high as given, but no wider or higher than those pixels;
//   the top-left corner is the top-left quarter of that ellipse placed in the top-left corner,
//   and so on for the other three, the middle row and column of the ellipse stretched over the
//   straight stretches between the corners;
// - a corner ellipse less than 2 pixels wide or high leaves the corners square;
// - the ellipse of CreateEllipticRgn is the rounded rectangle whose corner ellipse is the
//   whole box.
Region Region::roundedRectangle(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    const Region::Bounds box = normalizedBox(left, top, right, bottom);
    if (box.left == box.right || box.top == box.bottom) return {};
    const int x0 = box.left, x1 = box.right - 1;
    const int y0 = box.top, y1 = box.bottom - 1;
    const int cornerWidth = std::min({std::abs(ellipseWidth), x1 - x0, kMaxEllipseSize});
    const int cornerHeight = std::min({std::abs(ellipseHeight), y1 - y0, kMaxEllipseSize});
    if (cornerWidth < 2 || cornerHeight < 2) return rectangle(x0, y0, x1, y1);

    // The corner ellipse's rows: the upper half at the top, its middle row over the straight
    // stretch, the lower half at the bottom.
    const std::vector<int> insets = ellipseRowInsets(cornerWidth, cornerHeight);
    const int middle = cornerHeight / 2;
    auto insetOfRow = [&](int k) {
        return insets[static_cast<std::size_t>(k < middle ? cornerHeight - 1 - k - middle : k - middle)];
    };
    Region region;
    auto addRows = [&](int top, int bottom, int inset) {
        if (x0 + inset < x1 - inset) region.addBand(top, bottom, {{x0 + inset, x1 - inset}});
    };
    for (int k = 0; k < middle; ++k)
        addRows(y0 + k, y0 + k + 1, insetOfRow(k));
    const int lowerTop = y1 - cornerHeight;
    addRows(y0 + middle, lowerTop + middle + 1, 0);
    for (int k = middle + 1; k < cornerHeight; ++k)
        addRows(lowerTop + k, lowerTop + k + 1, insetOfRow(k));
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

Region regionOf(const Outline& outline) {
    Region pixels;
    for (const OutlineShape& shape : outline) {
        pixels = pixels.united(shape.kind == OutlineShape::Kind::ellipse
                                   ? Region::ellipse(shape.left, shape.top, shape.right, shape.bottom)
                                   : Region::roundedRectangle(shape.left, shape.top, shape.right, shape.bottom,
                                                              shape.cornerWidth, shape.cornerHeight));
    }
    return pixels;
}

} // namespace murmora
