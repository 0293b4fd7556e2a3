#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "core/regions.h"

namespace murmora {
namespace {

TEST(RectangleRegion, HoldsLeftAndTopButNotRightAndBottom) {
    const Region box = Region::rectangle(10, 8, 3, 4); // corners in any order
    EXPECT_EQ(box, Region::rectangle(3, 4, 10, 8));
    EXPECT_TRUE(box.contains(3, 4) && box.contains(9, 7));
    EXPECT_FALSE(box.contains(10, 7) || box.contains(9, 8));
    EXPECT_EQ(box.boundingBox(), (Region::Bounds{3, 4, 10, 8}));
    EXPECT_TRUE(Region::rectangle(5, 1, 5, 9).isEmpty());
    EXPECT_EQ(Region::rectangle(1, 5, 9, 5).boundingBox(), Region::Bounds{});
    const Region huge = Region::rectangle(-2'000'000'000, 0, 2'000'000'000, 1);
    EXPECT_EQ(huge.boundingBox(), (Region::Bounds{kMinRegionCoordinate, 0, kMaxRegionCoordinate, 1}));
    EXPECT_EQ(huge.area(), std::int64_t{kMaxRegionCoordinate} - kMinRegionCoordinate);
}

// Every pixel of the box whose centre is inside the ellipse through the outermost pixel centres
// is held, none further than half a pixel outside it, and none outside the box. In coordinates
// doubled and taken from the box's centre: F(u, v) = (h-1)²u² + (w-1)²v² - (w-1)²(h-1)².
void expectFollowsEllipse(const Region& region, int left, int top, int width, int height) {
    const std::int64_t a = width - 1, b = height - 1;
    const auto inside = [&](std::int64_t u, std::int64_t v) { return b * b * u * u + a * a * v * v <= a * a * b * b; };
    for (int y = top - 2; y < top + height + 2; ++y) {
        for (int x = left - 2; x < left + width + 2; ++x) {
            const std::int64_t u = std::abs(2 * (x - left) - a), v = std::abs(2 * (y - top) - b);
            const bool inBox = x >= left && x < left + width && y >= top && y < top + height;
            const bool nearlyInside =
                inside(std::max<std::int64_t>(u - 1, 0), v) || inside(u, std::max<std::int64_t>(v - 1, 0));
            if (!inBox || !nearlyInside) {
                ASSERT_FALSE(region.contains(x, y)) << "outside at " << x << "," << y;
            } else if (inside(u, v)) {
                ASSERT_TRUE(region.contains(x, y)) << "centre inside at " << x << "," << y;
            }
        }
    }
}

TEST(EllipticRegion, FollowsTheEllipseAndLeavesOutTheRightColumnAndBottomRow) {
    for (int width = 3; width <= 48; ++width) {
        for (int height = 3; height <= 48; ++height) {
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            const Region disc = Region::ellipse(5, 7, 5 + width, 7 + height);
            expectFollowsEllipse(disc, 5, 7, width - 1, height - 1);
            if (HasFatalFailure()) return;
        }
    }
    const std::pair<int, int> sizes[] = {{166, 162}, {207, 203}, {1001, 37}, {12, 600}, {200, 3}, {3, 200}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const Region disc = Region::ellipse(-20, 30, width - 20, 30 + height);
        expectFollowsEllipse(disc, -20, 30, width - 1, height - 1);
    }
}

TEST(EllipticRegion, SmallAndReversedBoxes) {
    EXPECT_EQ(Region::ellipse(204, 214, 38, 52), Region::ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::ellipse(0, 0, 3, 3), Region::rectangle(0, 0, 2, 2));
    const Region plus = Region::ellipse(0, 0, 4, 4);
    EXPECT_EQ(plus.area(), 5);
    EXPECT_FALSE(plus.contains(0, 0));
    EXPECT_TRUE(plus.contains(1, 1));
    EXPECT_TRUE(Region::ellipse(0, 0, 1, 1).isEmpty() && Region::ellipse(0, 0, 0, 9).isEmpty());
}

// A rounded rectangle is its box less the right column and bottom row, with each corner cut as
// the matching quarter of an ellipse of the corner's size (that of CreateEllipticRgn over a box
// one pixel larger each way) standing in the same corner of what is left.
TEST(RoundedRectangleRegion, CutsEachCornerAsAQuarterOfTheCornerEllipse) {
    const std::tuple<Region::Bounds, int, int> cases[] = {
        {{2, 1, 163, 231}, 30, 56}, {{2, 1, 204, 289}, 38, 70}, {{-5, -5, 20, 40}, 9, 9}};
    for (const auto& [box, w, h] : cases) {
        const Region rounded = Region::roundedRectangle(box.left, box.top, box.right, box.bottom, w, h);
        const int left = box.left, top = box.top, right = box.right - 1, bottom = box.bottom - 1;
        const Region corners[2][2] = {{Region::ellipse(left, top, left + w + 1, top + h + 1),
                                       Region::ellipse(right - w, top, right + 1, top + h + 1)},
                                      {Region::ellipse(left, bottom - h, left + w + 1, bottom + 1),
                                       Region::ellipse(right - w, bottom - h, right + 1, bottom + 1)}};
        for (int y = box.top - 1; y <= box.bottom; ++y) {
            for (int x = box.left - 1; x <= box.right; ++x) {
                const bool inBox = x >= box.left && x < box.right - 1 && y >= box.top && y < box.bottom - 1;
                const bool right = x >= box.right - 1 - w / 2, bottom = y >= box.bottom - 1 - h / 2;
                const bool inCorner = (x < box.left + w / 2 || right) && (y < box.top + h / 2 || bottom);
                const bool expected = inBox && (!inCorner || corners[bottom][right].contains(x, y));
                ASSERT_EQ(rounded.contains(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(RoundedRectangleRegion, CornersAsLargeAsTheBoxTinyOrNegative) {
    EXPECT_EQ(Region::roundedRectangle(38, 52, 204, 214, 166, 162), Region::ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::roundedRectangle(38, 52, 204, 214, 5000, 5000), Region::ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::roundedRectangle(0, 0, 10, 10, 2, 30), Region::rectangle(0, 0, 9, 9));
    EXPECT_EQ(Region::roundedRectangle(0, 0, 10, 10, 0, 0), Region::rectangle(0, 0, 9, 9));
    EXPECT_EQ(Region::roundedRectangle(0, 0, 50, 40, -12, -8), Region::roundedRectangle(0, 0, 50, 40, 12, 8));
}

TEST(RegionRectangles, CoverTheRegionExactlyOnce) {
    const Region outline = Region::roundedRectangle(2, 1, 163, 231, 30, 56).united(Region::ellipse(38, 52, 204, 214));
    Region rebuilt;
    std::int64_t area = 0;
    int count = 0;
    outline.forEachRect([&](int left, int top, int right, int bottom) {
        ASSERT_TRUE(left < right && top < bottom);
        area += std::int64_t{right - left} * (bottom - top);
        rebuilt = rebuilt.united(Region::rectangle(left, top, right, bottom));
        ++count;
    });
    EXPECT_EQ(rebuilt, outline);
    EXPECT_EQ(area, outline.area()); // no rectangle overlaps another
    EXPECT_LT(count, 2 * 231);       // straight stretches come as one rectangle
}

TEST(OutlineRegion, IsTheUnionOfItsShapes) {
    const OutlineShape rounded = OutlineShape::roundedRectangle(2, 1, 163, 231, 30, 56);
    const OutlineShape disc = OutlineShape::ellipse(38, 52, 204, 214);
    const Region expected = Region::roundedRectangle(2, 1, 163, 231, 30, 56).united(Region::ellipse(38, 52, 204, 214));
    EXPECT_EQ(regionOf({rounded, disc}), expected);
    EXPECT_EQ(regionOf({disc, rounded}), expected);
    EXPECT_EQ(regionOf({disc}), Region::ellipse(38, 52, 204, 214));
    EXPECT_TRUE(regionOf({}).isEmpty());
}

} // namespace
} // namespace murmora
