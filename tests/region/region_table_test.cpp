// The region handles: what each call makes, combines and frees.
#include <gtest/gtest.h>

#include "platform/regions.h"

namespace murmora {
namespace {

TEST(RegionHandles, EachCreatedRegionHasItsOwnLiveHandle) {
    RegionTable table;
    const RegionHandle rect = table.CreateRectRgn(0, 0, 10, 10);
    const RegionHandle rounded = table.CreateRoundRectRgn(0, 0, 50, 40, 12, 8);
    const RegionHandle disc = table.CreateEllipticRgn(0, 0, 30, 20);
    EXPECT_NE(rect, 0u);
    EXPECT_NE(rect, rounded);
    EXPECT_NE(rounded, disc);
    EXPECT_EQ(table.LiveCount(), 3u);
    ASSERT_NE(table.Find(rect), nullptr);
    EXPECT_EQ(*table.Find(rect), Region::Rectangle(0, 0, 10, 10));
    EXPECT_EQ(*table.Find(rounded), Region::RoundedRectangle(0, 0, 50, 40, 12, 8));
    EXPECT_EQ(*table.Find(disc), Region::Ellipse(0, 0, 30, 20));
}

TEST(RegionHandles, AnEmptyRectangleIsStillARegion) {
    RegionTable table;
    const RegionHandle empty = table.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(table.Find(empty), nullptr);
    EXPECT_TRUE(table.Find(empty)->IsEmpty());
    EXPECT_EQ(table.LiveCount(), 1u);
}

TEST(RegionHandles, DeletingFreesTheHandleOnce) {
    RegionTable table;
    const RegionHandle first = table.CreateRectRgn(0, 0, 1, 1);
    const RegionHandle second = table.CreateRectRgn(0, 0, 2, 2);
    EXPECT_TRUE(table.DeleteObject(first));
    EXPECT_EQ(table.LiveCount(), 1u);
    EXPECT_EQ(table.Find(first), nullptr);
    EXPECT_FALSE(table.DeleteObject(first));
    EXPECT_FALSE(table.DeleteObject(0));
    EXPECT_EQ(table.LiveCount(), 1u);
    EXPECT_NE(table.Find(second), nullptr);
}

TEST(RegionHandles, ADeletedHandleIsNotGivenOutAgain) {
    RegionTable table;
    const RegionHandle old = table.CreateRectRgn(0, 0, 1, 1);
    table.DeleteObject(old);
    const RegionHandle fresh = table.CreateRectRgn(0, 0, 5, 5);
    EXPECT_NE(fresh, old);
    EXPECT_EQ(table.Find(old), nullptr);
}

TEST(CombineRegions, CopyReplacesTheTargetWithTheFirstSource) {
    RegionTable table;
    const RegionHandle target = table.CreateRectRgn(0, 0, 0, 0);
    const RegionHandle disc = table.CreateEllipticRgn(0, 0, 30, 20);
    EXPECT_EQ(table.CombineRgn(target, disc, disc, RGN_COPY), COMPLEXREGION);
    EXPECT_EQ(*table.Find(target), *table.Find(disc));
    // The copy stands on its own once the source is gone.
    table.DeleteObject(disc);
    EXPECT_EQ(*table.Find(target), Region::Ellipse(0, 0, 30, 20));
}

TEST(CombineRegions, CopyIgnoresTheSecondSource) {
    RegionTable table;
    const RegionHandle target = table.CreateRectRgn(0, 0, 0, 0);
    const RegionHandle rect = table.CreateRectRgn(1, 1, 4, 4);
    EXPECT_EQ(table.CombineRgn(target, rect, 12345, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(*table.Find(target), Region::Rectangle(1, 1, 4, 4));
}

TEST(CombineRegions, OrUnitesBothSources) {
    RegionTable table;
    const RegionHandle target = table.CreateRectRgn(0, 0, 0, 0);
    const RegionHandle left = table.CreateRectRgn(0, 0, 5, 5);
    const RegionHandle right = table.CreateRectRgn(10, 0, 15, 5);
    EXPECT_EQ(table.CombineRgn(target, left, right, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(*table.Find(target), Region::Rectangle(0, 0, 5, 5).United(Region::Rectangle(10, 0, 15, 5)));
    EXPECT_EQ(*table.Find(left), Region::Rectangle(0, 0, 5, 5));
}

TEST(CombineRegions, TheTargetMayAlsoBeASource) {
    RegionTable table;
    const RegionHandle shape = table.CreateRectRgn(0, 0, 5, 5);
    const RegionHandle more = table.CreateRectRgn(5, 0, 8, 5);
    EXPECT_EQ(table.CombineRgn(shape, shape, more, RGN_OR), SIMPLEREGION);
    EXPECT_EQ(*table.Find(shape), Region::Rectangle(0, 0, 8, 5));
    EXPECT_EQ(table.CombineRgn(shape, shape, shape, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(*table.Find(shape), Region::Rectangle(0, 0, 8, 5));
}

TEST(CombineRegions, ReportsAnEmptyResult) {
    RegionTable table;
    const RegionHandle a = table.CreateRectRgn(0, 0, 0, 0);
    const RegionHandle b = table.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(table.CombineRgn(a, a, b, RGN_OR), NULLREGION);
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
