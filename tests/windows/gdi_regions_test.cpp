// The regions GDI makes (under Wine) against the program's own region arithmetic, which the
// Linux panel uses for its outline: the same pixels, none more and none fewer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <vector>

#include "core/regions.h"
#include "platform/win32/win32_gdi_regions.h"
#include "shell/panel_outline.h"
#include "tests/support/fixed_screen.h"

namespace murmora {
using namespace murmora::win32;

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

// The pixels of a GDI region, from the rectangles GetRegionData gives; the region is deleted.
Region takeGdiRegion(HRGN gdi) {
    Region pixels;
    const DWORD size = GetRegionData(gdi, 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (size != 0 && GetRegionData(gdi, size, data) == size) {
        std::vector<RECT> rects(data->rdh.nCount);
        std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
        for (const RECT& r : rects)
            pixels = pixels.united(Region::rectangle(r.left, r.top, r.right, r.bottom));
    }
    DeleteObject(gdi);
    return pixels;
}

// The pixels held by one side only, within the box and a margin of 2 around it.
std::vector<PixelDifference> differingPixels(const Region& gdi, const Region& ours, RECT box) {
    std::vector<PixelDifference> differences;
    for (int y = std::min(box.top, box.bottom) - 2; y < std::max(box.top, box.bottom) + 2; ++y) {
        for (int x = std::min(box.left, box.right) - 2; x < std::max(box.left, box.right) + 2; ++x) {
            if (gdi.contains(x, y) != ours.contains(x, y)) differences.push_back({x, y, gdi.contains(x, y)});
        }
    }
    return differences;
}

std::vector<PixelDifference> noDifferences() { return {}; }

using fakes::FixedScreen;

// The panel's outline as the Windows panel makes it (GDI's regions) and as the Linux panel
// makes it (the region arithmetic), at 96 and 120 dots per inch, at other scales and moved.
TEST(GdiOutline, IsTheLinuxPanelsOutlinePixelForPixel) {
    const struct {
        double dotsPerInch;
        float scaleX, scaleY;
        std::int16_t offsetX, offsetY;
    } cases[] = {
        {96, 1, 1, 0, 0},        {120, 1, 1, 0, 0}, {96, 1, 1, 10, -20}, {120, 1, 1, -7, 3},
        {96, 0.5f, 0.75f, 0, 0}, {96, 2, 2, 5, 5},  {150, 1, 1, 0, 0},   {192, 1.3f, 0.9f, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dotsPerInch << " dots per inch, scale " << c.scaleX << " x " << c.scaleY
                                        << ", moved " << c.offsetX << "," << c.offsetY);
        const Outline outline = panelOutline(FixedScreen(c.dotsPerInch), c.scaleX, c.scaleY, c.offsetX, c.offsetY);
        const Region gdi = takeGdiRegion(gdiOutline(outline));
        const Region::Bounds box = gdi.boundingBox();
        EXPECT_GT(gdi.area(), 0);
        EXPECT_EQ(differingPixels(gdi, regionOf(outline), {box.left, box.top, box.right, box.bottom}), noDifferences());
    }
}

// The design's outline at 96 dots per inch: GDI's count of its pixels.
TEST(GdiOutline, At96DotsPerInchHoldsGdisPixelCount) {
    const Region outline = takeGdiRegion(gdiOutline(panelOutline(FixedScreen(96), 1, 1, 0, 0)));
    EXPECT_EQ(outline.area(), 40317);
    EXPECT_EQ(outline, Region::roundedRectangle(2, 1, 163, 231, 30, 56).united(Region::ellipse(38, 52, 204, 214)));
}

// Wine leaves the lowest rows of an ellipse much taller than wide unset, so that they hold
// whatever memory held (for a box 4 pixels wide from 9 pixels high, 7 wide from 51): the sizes
// here keep to ellipses no taller than wide or at least 8 pixels wide.
bool gdiSetsEveryRow(int width, int height) { return height <= width || width >= 8; }

TEST(GdiEllipse, IsTheRegionArithmeticsPixelForPixel) {
    for (int width = 1; width <= 64; ++width) {
        for (int height = 1; height <= 64; ++height) {
            if (!gdiSetsEveryRow(width, height)) continue;
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            const RECT box{5, -7, 5 + width, -7 + height};
            EXPECT_EQ(differingPixels(takeGdiRegion(CreateEllipticRgn(box.left, box.top, box.right, box.bottom)),
                                      Region::ellipse(box.left, box.top, box.right, box.bottom), box),
                      noDifferences());
            if (HasFailure()) return;
        }
    }
    for (const RECT& b : {RECT{-20, 30, 146, 192}, RECT{-20, 30, 187, 233}, RECT{-20, 30, 981, 67},
                          RECT{204, 214, 38, 52}, RECT{0, 0, 400, 1000}, RECT{-300, -200, 1700, 1300}}) {
        SCOPED_TRACE(testing::Message() << b.left << "," << b.top << " " << b.right << "," << b.bottom);
        EXPECT_EQ(differingPixels(takeGdiRegion(CreateEllipticRgn(b.left, b.top, b.right, b.bottom)),
                                  Region::ellipse(b.left, b.top, b.right, b.bottom), b),
                  noDifferences());
    }
}

TEST(GdiRoundedRectangle, IsTheRegionArithmeticsPixelForPixel) {
    // Every corner size up to 64 in a box of 74 x 88, and some beyond.
    const RECT box{-4, 2, 70, 90};
    for (int width = 0; width <= 64; ++width) {
        for (int height = 0; height <= 64; ++height) {
            if (!gdiSetsEveryRow(width, height)) continue;
            SCOPED_TRACE(testing::Message() << "corner " << width << " x " << height);
            EXPECT_EQ(differingPixels(
                          takeGdiRegion(CreateRoundRectRgn(box.left, box.top, box.right, box.bottom, width, height)),
                          Region::roundedRectangle(box.left, box.top, box.right, box.bottom, width, height), box),
                      noDifferences());
            if (HasFailure()) return;
        }
    }
    const struct {
        RECT box;
        int width, height;
    } cases[] = {
        {{2, 1, 163, 231}, 30, 56},
        {{2, 1, 204, 289}, 38, 70},
        {{-5, -5, 20, 40}, 9, 9},
        {{38, 52, 204, 214}, 166, 162},
        {{38, 52, 204, 214}, 5000, 5000},
        {{0, 0, 10, 10}, 0, 0},
        {{0, 0, 50, 40}, -12, -8},
        {{50, 40, 0, 0}, 12, 8},
        {{0, 0, 40, 40}, 39, 1},
        {{10, 10, 900, 700}, 300, 120},
        {{0, 0, 3, 3}, 3, 3},
        {{7, 7, 8, 30}, 5, 5},
    };
    for (const auto& [b, w, h] : cases) {
        SCOPED_TRACE(testing::Message() << b.left << "," << b.top << " " << b.right << "," << b.bottom << " corner "
                                        << w << " x " << h);
        EXPECT_EQ(differingPixels(takeGdiRegion(CreateRoundRectRgn(b.left, b.top, b.right, b.bottom, w, h)),
                                  Region::roundedRectangle(b.left, b.top, b.right, b.bottom, w, h), b),
                  noDifferences());
    }
}

} // namespace
} // namespace murmora
