// The regions GDI makes (under Wine) against the program's own region arithmetic, which the
// Linux panel uses for its outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <tuple>
#include <vector>

#include "platform/regions.h"
#include "tests/windows/gdi_regions.h"

namespace murmora {

// A pixel held by one side only.
struct PixelDifference {
    int x, y;
    bool heldByGdi;
    bool operator==(const PixelDifference&) const = default;
};

void PrintTo(const PixelDifference& d, std::ostream* out) {
    *out << "(" << d.x << "," << d.y << (d.heldByGdi ? " GDI)" : " ours)");
}

namespace {

// The pixels of a GDI region; the region is deleted.
Region takeGdiRegion(HRGN gdi) {
    Region pixels;
    for (const RECT& r : gdiRegionRects(gdi))
        pixels = pixels.united(Region::rectangle(r.left, r.top, r.right, r.bottom));
    DeleteObject(gdi);
    return pixels;
}

// The pixels held by one side only, row by row, within the box and a margin of 2 around it.
std::vector<PixelDifference> differingPixels(const Region& gdi, const Region& ours, RECT box) {
    std::vector<PixelDifference> differences;
    for (int y = std::min(box.top, box.bottom) - 2; y < std::max(box.top, box.bottom) + 2; ++y) {
        for (int x = std::min(box.left, box.right) - 2; x < std::max(box.left, box.right) + 2; ++x) {
            if (gdi.contains(x, y) != ours.contains(x, y)) differences.push_back({x, y, gdi.contains(x, y)});
        }
    }
    return differences;
}

// The panel's outline at 96 dots per inch (as designed) and at 120 (every value times 1.25).
constexpr OutlineShapes kAt96Dpi{2, 1, 163, 231, 30, 56, 38, 52, 204, 214};
constexpr OutlineShapes kAt120Dpi{2, 1, 204, 289, 38, 70, 48, 65, 255, 268};

std::vector<PixelDifference> outlineDifferences(const OutlineShapes& s) {
    const Region ours = Region::roundedRectangle(s.left, s.top, s.right, s.bottom, s.cornerWidth, s.cornerHeight)
                            .united(Region::ellipse(s.discLeft, s.discTop, s.discRight, s.discBottom));
    return differingPixels(takeGdiRegion(makeGdiOutline(s)), ours, {s.left, s.top, s.discRight, s.bottom});
}

// Both sides hold every pixel of the outline but a few on its curves. GDI cuts the rounded
// rectangle's corners with an ellipse covering the full corner size (30 x 56 pixels), the
// program with one a pixel smaller each way (29 x 55); on the disc (x 181) the curve passes
// between two pixels and the two sides choose differently.
TEST(GdiOutline, DiffersFromTheRegionArithmeticOnlyInTheseCurvePixels) {
    const std::vector<PixelDifference> at96Dpi = {
        {4, 13, false},   {159, 13, false},  {3, 16, false},    {160, 16, false}, {2, 21, false},
        {161, 21, false}, {181, 78, false},  {181, 186, false}, {2, 209, false},  {161, 209, false},
        {3, 214, false},  {160, 214, false}, {4, 217, false},   {159, 217, false}};
    EXPECT_EQ(outlineDifferences(kAt96Dpi), at96Dpi);
    const std::vector<PixelDifference> at120Dpi = {
        {17, 1, false},    {187, 1, false},   {15, 2, false},    {189, 2, false},   {8, 9, false},
        {196, 9, false},   {5, 15, false},    {199, 15, false},  {4, 18, false},    {200, 18, false},
        {4, 270, false},   {200, 270, false}, {5, 273, false},   {199, 273, false}, {8, 279, false},
        {196, 279, false}, {15, 286, false},  {189, 286, false}, {17, 287, false},  {187, 287, false}};
    EXPECT_EQ(outlineDifferences(kAt120Dpi), at120Dpi);
}

// A pixel on the edge of both regions: a neighbour held by both and one held by neither.
bool onTheEdgeOfBoth(const PixelDifference& d, const Region& gdi, const Region& ours) {
    bool inBoth = false, inNeither = false;
    for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
        const bool g = gdi.contains(d.x + dx, d.y + dy), o = ours.contains(d.x + dx, d.y + dy);
        inBoth = inBoth || (g && o);
        inNeither = inNeither || (!g && !o);
    }
    return inBoth && inNeither;
}

void expectDifferOnlyOnTheEdge(HRGN gdiRegion, const Region& ours, RECT box) {
    const Region gdi = takeGdiRegion(gdiRegion);
    for (const PixelDifference& d : differingPixels(gdi, ours, box))
        ASSERT_TRUE(onTheEdgeOfBoth(d, gdi, ours)) << testing::PrintToString(d);
}

// Boxes under 10 pixels are left out: for an ellipse much taller than wide Wine's
// CreateEllipticRgn leaves the rows nearest the top and bottom unset, so they hold whatever
// memory held (nothing, or rectangles far away).
TEST(GdiEllipse, DiffersFromTheRegionArithmeticOnlyOnItsEdge) {
    for (int width = 10; width <= 48; ++width) {
        for (int height = 10; height <= 48; ++height) {
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            expectDifferOnlyOnTheEdge(CreateEllipticRgn(5, 7, 5 + width, 7 + height),
                                      Region::ellipse(5, 7, 5 + width, 7 + height), {5, 7, 5 + width, 7 + height});
            if (HasFatalFailure()) return;
        }
    }
    for (const RECT& b :
         {RECT{-20, 30, 146, 192}, RECT{-20, 30, 187, 233}, RECT{-20, 30, 981, 67}, RECT{204, 214, 38, 52}}) {
        SCOPED_TRACE(testing::Message() << b.left << "," << b.top << " " << b.right << "," << b.bottom);
        expectDifferOnlyOnTheEdge(CreateEllipticRgn(b.left, b.top, b.right, b.bottom),
                                  Region::ellipse(b.left, b.top, b.right, b.bottom), b);
    }
}

TEST(GdiRoundedRectangle, DiffersFromTheRegionArithmeticOnlyOnItsEdge) {
    const std::tuple<RECT, int, int> cases[] = {
        {{2, 1, 163, 231}, 30, 56},     {{2, 1, 204, 289}, 38, 70},       {{-5, -5, 20, 40}, 9, 9},
        {{38, 52, 204, 214}, 166, 162}, {{38, 52, 204, 214}, 5000, 5000}, {{0, 0, 10, 10}, 0, 0},
        {{0, 0, 50, 40}, -12, -8},      {{50, 40, 0, 0}, 12, 8},          {{0, 0, 40, 40}, 39, 1},
    };
    for (const auto& [b, w, h] : cases) {
        SCOPED_TRACE(testing::Message() << b.left << "," << b.top << " " << b.right << "," << b.bottom << " corner "
                                        << w << " x " << h);
        expectDifferOnlyOnTheEdge(CreateRoundRectRgn(b.left, b.top, b.right, b.bottom, w, h),
                                  Region::roundedRectangle(b.left, b.top, b.right, b.bottom, w, h), b);
    }
}

} // namespace
} // namespace murmora
