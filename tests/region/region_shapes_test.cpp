// The pixels of the region shapes, checked against the geometry of the curves they follow.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>

#include "platform/regions.h"

namespace murmora {
namespace {

// The ellipse through the outermost pixel centres of a box of w x h pixels, in coordinates
// doubled and taken from the box's centre: F(u, v) = (h-1)²u² + (w-1)²v² - (w-1)²(h-1)².
struct ExactEllipse {
    int left, top, width, height;

    std::int64_t F(std::int64_t u, std::int64_t v) const {
        const std::int64_t a = width - 1, b = height - 1;
        return b * b * u * u + a * a * v * v - a * a * b * b;
    }
    // Doubled distances of a pixel's centre from the centre, folded into the first quadrant.
    std::int64_t U(int x) const { return std::abs(2 * (x - left) - (width - 1)); }
    std::int64_t V(int y) const { return std::abs(2 * (y - top) - (height - 1)); }
    bool CentreInside(int x, int y) const { return F(U(x), V(y)) <= 0; }
    // Within half a pixel of the curve, across or down.
    bool NearlyInside(int x, int y) const {
        return F(std::max<std::int64_t>(U(x) - 1, 0), V(y)) <= 0 || F(U(x), std::max<std::int64_t>(V(y) - 1, 0)) <= 0;
    }
};

void ExpectFollowsEllipse(const Region& region, const ExactEllipse& ellipse) {
    for (int y = ellipse.top - 2; y < ellipse.top + ellipse.height + 2; ++y) {
        for (int x = ellipse.left - 2; x < ellipse.left + ellipse.width + 2; ++x) {
            const bool inBox = x >= ellipse.left && x < ellipse.left + ellipse.width && y >= ellipse.top &&
                               y < ellipse.top + ellipse.height;
            if (!inBox) {
                ASSERT_FALSE(region.Contains(x, y)) << x << "," << y;
            } else if (ellipse.CentreInside(x, y)) {
                ASSERT_TRUE(region.Contains(x, y)) << "centre inside at " << x << "," << y;
            } else if (!ellipse.NearlyInside(x, y)) {
                ASSERT_FALSE(region.Contains(x, y)) << "far outside at " << x << "," << y;
            }
        }
    }
}

void ExpectMirrored(const Region& region, Region::Bounds box) {
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const int mirrorX = box.left + box.right - 1 - x;
            const int mirrorY = box.top + box.bottom - 1 - y;
            ASSERT_EQ(region.Contains(x, y), region.Contains(mirrorX, y)) << "left-right at " << x << "," << y;
            ASSERT_EQ(region.Contains(x, y), region.Contains(x, mirrorY)) << "top-bottom at " << x << "," << y;
        }
    }
}

std::int64_t CountPixels(const Region& region, Region::Bounds box) {
    std::int64_t count = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) count += region.Contains(x, y) ? 1 : 0;
    }
    return count;
}

TEST(RectangleRegion, HoldsLeftAndTopButNotRightAndBottom) {
    const Region box = Region::Rectangle(3, 4, 10, 8);
    EXPECT_TRUE(box.Contains(3, 4));
    EXPECT_TRUE(box.Contains(9, 7));
    EXPECT_FALSE(box.Contains(10, 7));
    EXPECT_FALSE(box.Contains(9, 8));
    EXPECT_EQ(box.Area(), 7 * 4);
    EXPECT_EQ(box.BoundingBox(), (Region::Bounds{3, 4, 10, 8}));
    EXPECT_TRUE(box.IsRectangle());
}

TEST(RectangleRegion, TakesCornersInAnyOrder) {
    EXPECT_EQ(Region::Rectangle(10, 8, 3, 4), Region::Rectangle(3, 4, 10, 8));
}

TEST(RectangleRegion, WithoutWidthOrHeightIsEmpty) {
    EXPECT_TRUE(Region::Rectangle(0, 0, 0, 0).IsEmpty());
    EXPECT_TRUE(Region::Rectangle(5, 1, 5, 9).IsEmpty());
    EXPECT_TRUE(Region::Rectangle(1, 5, 9, 5).IsEmpty());
    EXPECT_EQ(Region::Rectangle(1, 5, 9, 5).BoundingBox(), Region::Bounds{});
}

TEST(RectangleRegion, HugeCoordinatesStayWithinTheRegionRange) {
    const Region huge = Region::Rectangle(-2'000'000'000, 0, 2'000'000'000, 1);
    EXPECT_EQ(huge.BoundingBox(), (Region::Bounds{MinRegionCoordinate, 0, MaxRegionCoordinate, 1}));
    EXPECT_EQ(huge.Area(), std::int64_t{MaxRegionCoordinate} - MinRegionCoordinate);
}

TEST(EllipticRegion, FillsTheBoxLessTheRightColumnAndBottomRow) {
    const Region disc = Region::Ellipse(38, 52, 204, 214);
    EXPECT_EQ(disc.BoundingBox(), (Region::Bounds{38, 52, 203, 213}));
}

TEST(EllipticRegion, KeepsEveryPixelWhoseCentreIsInsideAndNoneBeyondHalfAPixelAndReachesEachSide) {
    for (int width = 3; width <= 48; ++width) {
        for (int height = 3; height <= 48; ++height) {
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            const Region disc = Region::Ellipse(5, 7, 5 + width, 7 + height);
            ExpectFollowsEllipse(disc, {5, 7, width - 1, height - 1});
            if (HasFatalFailure()) return;
            ASSERT_EQ(disc.BoundingBox(), (Region::Bounds{5, 7, 4 + width, 6 + height}));
        }
    }
}

TEST(EllipticRegion, FollowsLargeAndFlatEllipsesToo) {
    const struct { int width, height; } sizes[] = {{166, 162}, {207, 203}, {1001, 37}, {12, 600}, {200, 3}, {3, 200}};
    for (const auto& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        const Region disc = Region::Ellipse(-20, 30, size.width - 20, 30 + size.height);
        ExpectFollowsEllipse(disc, {-20, 30, size.width - 1, size.height - 1});
        const Region::Bounds box = disc.BoundingBox();
        EXPECT_EQ(box, (Region::Bounds{-20, 30, size.width - 21, 29 + size.height}));
    }
}

TEST(EllipticRegion, IsSymmetricLeftRightAndTopBottom) {
    for (const Region::Bounds box : {Region::Bounds{38, 52, 204, 214}, Region::Bounds{48, 65, 255, 268},
                                     Region::Bounds{0, 0, 10, 7}, Region::Bounds{1, 2, 8, 30}}) {
        const Region disc = Region::Ellipse(box.left, box.top, box.right, box.bottom);
        ExpectMirrored(disc, {box.left, box.top, box.right - 1, box.bottom - 1});
    }
}

TEST(EllipticRegion, CoversTheAreaOfTheEllipse) {
    for (const Region::Bounds box : {Region::Bounds{38, 52, 204, 214}, Region::Bounds{48, 65, 255, 268},
                                     Region::Bounds{0, 0, 300, 120}}) {
        const double width = box.right - box.left - 1, height = box.bottom - box.top - 1;
        const double expected = std::numbers::pi * width * height / 4;
        // The pixels along the curve may go either way: a quarter of the perimeter bounds it.
        const double slack = std::numbers::pi * (width + height) / 8;
        EXPECT_NEAR(static_cast<double>(Region::Ellipse(box.left, box.top, box.right, box.bottom).Area()), expected,
                    slack);
    }
}

TEST(EllipticRegion, SmallBoxesKeepTheirPixels) {
    EXPECT_EQ(Region::Ellipse(0, 0, 3, 3), Region::Rectangle(0, 0, 2, 2));
    const Region plus = Region::Ellipse(0, 0, 4, 4);
    EXPECT_EQ(plus.Area(), 5);
    EXPECT_FALSE(plus.Contains(0, 0));
    EXPECT_TRUE(plus.Contains(1, 1));
    EXPECT_TRUE(Region::Ellipse(0, 0, 1, 1).IsEmpty());
    EXPECT_TRUE(Region::Ellipse(0, 0, 0, 9).IsEmpty());
}

TEST(EllipticRegion, TakesCornersInAnyOrder) {
    EXPECT_EQ(Region::Ellipse(204, 214, 38, 52), Region::Ellipse(38, 52, 204, 214));
}

// A rounded rectangle is its box with each corner cut as the matching quarter of the corner
// ellipse, that ellipse standing in the same corner of the box.
void ExpectCornersFromEllipses(const Region& rounded, Region::Bounds box, int cornerWidth, int cornerHeight) {
    const Region cornerEllipses[2][2] = {
        {Region::Ellipse(box.left, box.top, box.left + cornerWidth, box.top + cornerHeight),
         Region::Ellipse(box.right - cornerWidth, box.top, box.right, box.top + cornerHeight)},
        {Region::Ellipse(box.left, box.bottom - cornerHeight, box.left + cornerWidth, box.bottom),
         Region::Ellipse(box.right - cornerWidth, box.bottom - cornerHeight, box.right, box.bottom)}};
    const int cornerColumns = cornerWidth / 2, cornerRows = cornerHeight / 2;
    for (int y = box.top - 1; y <= box.bottom; ++y) {
        for (int x = box.left - 1; x <= box.right; ++x) {
            const bool inBox = x >= box.left && x < box.right - 1 && y >= box.top && y < box.bottom - 1;
            const bool leftCorner = x < box.left + cornerColumns, rightCorner = x >= box.right - 1 - cornerColumns;
            const bool topCorner = y < box.top + cornerRows, bottomCorner = y >= box.bottom - 1 - cornerRows;
            bool expected = inBox;
            if (inBox && (leftCorner || rightCorner) && (topCorner || bottomCorner)) {
                expected = cornerEllipses[bottomCorner ? 1 : 0][rightCorner ? 1 : 0].Contains(x, y);
            }
            ASSERT_EQ(rounded.Contains(x, y), expected) << x << "," << y;
        }
    }
}

TEST(RoundedRectangleRegion, CutsEachCornerAsAQuarterOfTheCornerEllipse) {
    ExpectCornersFromEllipses(Region::RoundedRectangle(2, 1, 163, 231, 30, 56), {2, 1, 163, 231}, 30, 56);
    ExpectCornersFromEllipses(Region::RoundedRectangle(2, 1, 204, 289, 38, 70), {2, 1, 204, 289}, 38, 70);
    ExpectCornersFromEllipses(Region::RoundedRectangle(-5, -5, 20, 40, 9, 9), {-5, -5, 20, 40}, 9, 9);
}

TEST(RoundedRectangleRegion, FillsTheBoxLessTheRightColumnAndBottomRow) {
    const Region rounded = Region::RoundedRectangle(2, 1, 163, 231, 30, 56);
    EXPECT_EQ(rounded.BoundingBox(), (Region::Bounds{2, 1, 162, 230}));
    EXPECT_FALSE(rounded.Contains(2, 1));
    EXPECT_TRUE(rounded.Contains(2, 100));
    EXPECT_TRUE(rounded.Contains(161, 100));
    EXPECT_FALSE(rounded.Contains(162, 100));
}

TEST(RoundedRectangleRegion, IsSymmetricLeftRightAndTopBottom) {
    ExpectMirrored(Region::RoundedRectangle(2, 1, 163, 231, 30, 56), {2, 1, 162, 230});
    ExpectMirrored(Region::RoundedRectangle(2, 1, 204, 289, 38, 70), {2, 1, 203, 288});
    ExpectMirrored(Region::RoundedRectangle(0, 0, 17, 12, 7, 5), {0, 0, 16, 11});
}

TEST(RoundedRectangleRegion, WithACornerAsLargeAsTheBoxIsTheEllipse) {
    EXPECT_EQ(Region::RoundedRectangle(38, 52, 204, 214, 166, 162), Region::Ellipse(38, 52, 204, 214));
    EXPECT_EQ(Region::RoundedRectangle(38, 52, 204, 214, 5000, 5000), Region::Ellipse(38, 52, 204, 214));
}

TEST(RoundedRectangleRegion, WithTinyCornersIsSquare) {
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 10, 10, 2, 30), Region::Rectangle(0, 0, 9, 9));
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 10, 10, 0, 0), Region::Rectangle(0, 0, 9, 9));
}

TEST(RoundedRectangleRegion, TakesNegativeCornerSizesByTheirSize) {
    EXPECT_EQ(Region::RoundedRectangle(0, 0, 50, 40, -12, -8), Region::RoundedRectangle(0, 0, 50, 40, 12, 8));
}

TEST(RegionUnion, HoldsThePixelsOfEitherAndNoOthers) {
    const Region rounded = Region::RoundedRectangle(2, 1, 163, 231, 30, 56);
    const Region disc = Region::Ellipse(38, 52, 204, 214);
    const Region both = rounded.United(disc);
    for (int y = -1; y <= 232; ++y) {
        for (int x = 0; x <= 205; ++x) {
            ASSERT_EQ(both.Contains(x, y), rounded.Contains(x, y) || disc.Contains(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(both.Area(), CountPixels(both, {0, -1, 206, 233}));
}

TEST(RegionUnion, JoinsTouchingAndOverlappingSpans) {
    const Region joined = Region::Rectangle(0, 0, 5, 3).United(Region::Rectangle(5, 0, 9, 3));
    EXPECT_EQ(joined, Region::Rectangle(0, 0, 9, 3));
    EXPECT_TRUE(joined.IsRectangle());
    const Region stacked = Region::Rectangle(0, 0, 9, 3).United(Region::Rectangle(0, 3, 9, 6));
    EXPECT_EQ(stacked, Region::Rectangle(0, 0, 9, 6));
    const Region apart = Region::Rectangle(0, 0, 2, 2).United(Region::Rectangle(4, 1, 6, 3));
    EXPECT_FALSE(apart.IsRectangle());
    EXPECT_EQ(apart.Area(), 8);
    EXPECT_FALSE(apart.Contains(3, 1));
}

TEST(RegionUnion, WithAnEmptyRegionChangesNothing) {
    const Region disc = Region::Ellipse(0, 0, 30, 20);
    EXPECT_EQ(disc.United(Region{}), disc);
    EXPECT_EQ(Region{}.United(disc), disc);
}

TEST(RegionRectangles, CoverTheRegionExactlyOnce) {
    const Region outline =
        Region::RoundedRectangle(2, 1, 163, 231, 30, 56).United(Region::Ellipse(38, 52, 204, 214));
    Region rebuilt;
    std::int64_t area = 0;
    int count = 0;
    outline.ForEachRect([&](int left, int top, int right, int bottom) {
        ASSERT_LT(left, right);
        ASSERT_LT(top, bottom);
        area += std::int64_t{right - left} * (bottom - top);
        rebuilt = rebuilt.United(Region::Rectangle(left, top, right, bottom));
        ++count;
    });
    EXPECT_EQ(rebuilt, outline);
    EXPECT_EQ(area, outline.Area()); // no rectangle overlaps another
    EXPECT_LT(count, 2 * 231);       // straight stretches come as one rectangle
}

} // namespace
} // namespace murmora
