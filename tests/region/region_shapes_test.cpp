#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

#include "platform/regions.h"

namespace murmora {
namespace {

TEST(RectangleRegion, HoldsLeftAndTopButNotRightAndBottom) {
    const Region box = Region::Rectangle(10, 8, 3, 4); // corners in any order
    EXPECT_EQ(box, Region::Rectangle(3, 4, 10, 8));
    EXPECT_TRUE(box.Contains(3, 4) && box.Contains(9, 7));
    EXPECT_FALSE(box.Contains(10, 7) || box.Contains(9, 8));
    EXPECT_EQ(box.BoundingBox(), (Region::Bounds{3, 4, 10, 8}));
    EXPECT_TRUE(Region::Rectangle(5, 1, 5, 9).IsEmpty());
    EXPECT_EQ(Region::Rectangle(1, 5, 9, 5).BoundingBox(), Region::Bounds{});
    const Region huge = Region::Rectangle(-2'000'000'000, 0, 2'000'000'000, 1);
    EXPECT_EQ(huge.BoundingBox(), (Region::Bounds{MinRegionCoordinate, 0, MaxRegionCoordinate, 1}));
    EXPECT_EQ(huge.Area(), std::int64_t{MaxRegionCoordinate} - MinRegionCoordinate);
}

// Every pixel of the box whose centre is inside the ellipse through the outermost pixel centres
// is held, none further than half a pixel outside it, and none outside the box. In coordinates
// doubled and taken from the box's centre: F(u, v) = (h-1)²u² + (w-1)²v² - (w-1)²(h-1)².
void ExpectFollowsEllipse(const Region& region, int left, int top, int width, int height) {
    const std::int64_t a = width - 1, b = height - 1;
    const auto inside = [&](std::int64_t u, std::int64_t v) {
        return b * b * u * u + a * a * v * v <= a * a * b * b;
    };
    for (int y = top - 2; y < top + height + 2; ++y) {
        for (int x = left - 2; x < left + width + 2; ++x) {
            const std::int64_t u = std::abs(2 * (x - left) - a), v = std::abs(2 * (y - top) - b);
            const bool inBox = x >= left && x < left + width && y >= top && y < top + height;
            const bool nearlyInside =
                inside(std::max<std::int64_t>(u - 1, 0), v) || inside(u, std::max<std::int64_t>(v - 1, 0));
            if (!inBox || !nearlyInside) {
                ASSERT_FALSE(region.Contains(x, y)) << "outside at " << x << "," << y;
            } else if (inside(u, v)) {
                ASSERT_TRUE(region.Contains(x, y)) << "centre inside at " << x << "," << y;
            }
        }
    }
}

TEST(EllipticRegion, FollowsTheEllipseAndLeavesOutTheRightColumnAndBottomRow) {
    for (int width = 3; width <= 48; ++width) {
        for (int height = 3; height <= 48; ++height) {
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            const Region disc = Region::Ellipse(5, 7, 5 + width, 7 + height);
            ExpectFollowsEllipse(disc, 5, 7, width - 1, height - 1);
            if (HasFatalFailure())
                return;
            ASSERT_EQ(disc.BoundingBox(), (Region::Bounds{5, 7, 4 + width, 6 + height}));
        }
    }
    const std::pair<int, int> sizes[] = {{166, 162}, {207, 203}, {1001, 37}, {12, 600}, {200, 3}, {3, 200}};
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        const Region disc = Region::Ellipse(-20, 30, width - 20, 30 + height);
        ExpectFollowsEllipse(disc, -20, 30, width - 1, height - 1);
        EXPECT_EQ(disc.BoundingBox(), (Region::Bounds{-20, 30, width - 21, 29 + height}));
    }
}

TEST(EllipticRegion, SmallAndReversedBoxes) {
    EXPECT_EQ(Region::Ellipse(204, 214, 38, 52), Region::Ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::Ellipse(0, 0, 3, 3), Region::Rectangle(0, 0, 2, 2));
    const Region plus = Region::Ellipse(0, 0, 4, 4);
    EXPECT_EQ(plus.Area(), 5);
    EXPECT_FALSE(plus.Contains(0, 0));
    EXPECT_TRUE(plus.Contains(1, 1));
    EXPECT_TRUE(Region::Ellipse(0, 0, 1, 1).IsEmpty() && Region::Ellipse(0, 0, 0, 9).IsEmpty());
}

// A rounded rectangle is its box less the right column and bottom row, with each corner cut as
// the matching quarter of the corner ellipse standing in the same corner of the box.
TEST(RoundedRectangleRegion, CutsEachCornerAsAQuarterOfTheCornerEllipse) {
    const std::tuple<Region::Bounds, int, int> cases[] = {
        {{2, 1, 163, 231}, 30, 56}, {{2, 1, 204, 289}, 38, 70}, {{-5, -5, 20, 40}, 9, 9}};
    for (const auto& [box, w, h] : cases) {
        const Region rounded = Region::RoundedRectangle(box.left, box.top, box.right, box.bottom, w, h);
        const Region corners[2][2] = {
            {Region::Ellipse(box.left, box.top, box.left + w, box.top + h),
             Region::Ellipse(box.right - w, box.top, box.right, box.top + h)},
            {Region::Ellipse(box.left, box.bottom - h, box.left + w, box.bottom),
             Region::Ellipse(box.right - w, box.bottom - h, box.right, box.bottom)}};
        for (int y = box.top - 1; y <= box.bottom; ++y) {
            for (int x = box.left - 1; x <= box.right; ++x) {
                const bool inBox = x >= box.left && x < box.right - 1 && y >= box.top && y < box.bottom - 1;
                const bool right = x >= box.right - 1 - w / 2, bottom = y >= box.bottom - 1 - h / 2;
                const bool inCorner = (x < box.left + w / 2 || right) && (y < box.top + h / 2 || bottom);
                const bool expected = inBox && (!inCorner || corners[bottom][right].Contains(x, y));
                ASSERT_EQ(rounded.Contains(x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(RoundedRectangleRegion, CornersAsLargeAsTheBoxTinyOrNegative) {
    EXPECT_EQ(Region::RoundedRectangle(38, 52, 204, 214, 166, 162), Region::Ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::RoundedRectangle(38, 52, 204, 214, 5000, 5000), Region::Ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 10, 10, 2, 30), Region::Rectangle(0, 0, 9, 9));
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 10, 10, 0, 0), Region::Rectangle(0, 0, 9, 9));
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 50, 40, -12, -8), Region::RoundedRectangle(0, 0, 50, 40, 12, 8));
}

TEST(RegionRectangles, CoverTheRegionExactlyOnce) {
    const Region outline =
        Region::RoundedRectangle(2, 1, 163, 231, 30, 56).United(Region::Ellipse(38, 52, 204, 214));
    Region rebuilt;
    std::int64_t area = 0;
    int count = 0;
    outline.ForEachRect([&](int left, int top, int right, int bottom) {
        ASSERT_TRUE(left < right && top < bottom);
        area += std::int64_t{right - left} * (bottom - top);
        rebuilt = rebuilt.United(Region::Rectangle(left, top, right, bottom));
        ++count;
    });
    EXPECT_EQ(rebuilt, outline);
    EXPECT_EQ(area, outline.Area()); // no rectangle overlaps another
    EXPECT_LT(count, 2 * 231);       // straight stretches come as one rectangle
}

TEST(RegionHandles, EachRegionHasItsOwnHandleUntilDeletedOnce) {
    RegionTable table;
    const RegionHandle rect = table.CreateRectRgn(0, 0, 10, 10);
    const RegionHandle rounded = table.CreateRoundRectRgn(0, 0, 50, 40, 12, 8);
    const RegionHandle empty = table.CreateRectRgn(0, 0, 0, 0);
    EXPECT_TRUE(rect != 0 && rect != rounded && rounded != empty);
    EXPECT_EQ(table.LiveCount(), 3u);
    ASSERT_NE(table.Find(rect), nullptr);
    ASSERT_NE(table.Find(empty), nullptr);
    EXPECT_TRUE(table.Find(empty)->IsEmpty());
    EXPECT_TRUE(table.DeleteObject(rect));
    EXPECT_FALSE(table.DeleteObject(rect));
    EXPECT_FALSE(table.DeleteObject(0));
    EXPECT_EQ(table.Find(rect), nullptr);
    EXPECT_EQ(table.LiveCount(), 2u);
    EXPECT_NE(table.CreateEllipticRgn(0, 0, 30, 20), rect); // a deleted handle is not given out again
}

TEST(CombineRegions, CopyTakesTheFirstSourceAndOrUnitesBoth) {
    RegionTable table;
    const RegionHandle target = table.CreateRectRgn(0, 0, 0, 0);
    const RegionHandle disc = table.CreateEllipticRgn(0, 0, 30, 20);
    const RegionHandle left = table.CreateRectRgn(0, 0, 5, 5);
    const RegionHandle right = table.CreateRectRgn(5, 0, 8, 5);
    EXPECT_EQ(table.CombineRgn(target, disc, 12345, RGN_COPY), COMPLEXREGION);
    table.DeleteObject(disc); // the copy stands on its own
    EXPECT_EQ(*table.Find(target), Region::Ellipse(0, 0, 30, 20));
    EXPECT_EQ(table.CombineRgn(target, left, target, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(*table.Find(target), Region::Ellipse(0, 0, 30, 20).United(Region::Rectangle(0, 0, 5, 5)));
    EXPECT_EQ(table.CombineRgn(left, left, right, RGN_OR), SIMPLEREGION); // the target as a source
    EXPECT_EQ(*table.Find(left), Region::Rectangle(0, 0, 8, 5));
    EXPECT_EQ(*table.Find(right), Region::Rectangle(5, 0, 8, 5));
    EXPECT_EQ(table.CombineRgn(left, left, left, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(*table.Find(left), Region::Rectangle(0, 0, 8, 5));
    const RegionHandle empty = table.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(table.CombineRgn(empty, empty, empty, RGN_OR), NULLREGION);
}

TEST(CombineRegions, UnknownHandlesOrModesChangeNothing) {
    RegionTable table;
    const RegionHandle target = table.CreateRectRgn(0, 0, 3, 3);
    const RegionHandle source = table.CreateRectRgn(5, 5, 9, 9);
    EXPECT_EQ(table.CombineRgn(999, source, source, RGN_COPY), RGN_ERROR);
    EXPECT_EQ(table.CombineRgn(target, 999, source, RGN_COPY), RGN_ERROR);
    EXPECT_EQ(table.CombineRgn(target, source, 999, RGN_OR), RGN_ERROR);
    EXPECT_EQ(table.CombineRgn(target, source, source, 1), RGN_ERROR); // RGN_AND is not offered
    EXPECT_EQ(*table.Find(target), Region::Rectangle(0, 0, 3, 3));
    EXPECT_EQ(table.LiveCount(), 2u);
}

} // namespace
} // namespace murmora
