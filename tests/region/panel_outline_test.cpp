#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "platform/regions.h"
#include "platform/screen_metrics.h"
#include "shell/panel_outline.h"
#include "tests/region/fixed_screen.h"

namespace murmora {
namespace {

constexpr double kAt96Dpi = 1440.0 / 96;
constexpr double kAt120Dpi = 1440.0 / 120;

TEST(DesignValueConversion, ScalesAddsTheOffsetAndRoundsHalvesToEven) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        int value;
        float scale;
        double twipsPerPixel;
        int offset, expected;
    } cases[] = {
        {0, 1, kAt96Dpi, 0, 0},
        {231, 1, kAt96Dpi, 0, 231},
        {163, 1, kAt96Dpi, -3, 160},
        {2, 1, kAt120Dpi, 0, 2},
        {6, 1, kAt120Dpi, 0, 8},
        {38, 1, kAt120Dpi, 0, 48}, // 2.5, 7.5, 47.5
        {214, 1, kAt120Dpi, 0, 268},
        {163, 1, kAt120Dpi, 0, 204},
        {1, 1, kAt120Dpi, 0, 1}, // 267.5, 203.75, 1.25
        {-2, 1, kAt120Dpi, 0, -2},
        {2, 1, kAt120Dpi, 1, 4},
        {2, 1, kAt120Dpi, -1, 2}, // -2.5, 3.5, 1.5
        {163, 2, kAt96Dpi, 0, 326},
        {5, 0.5f, kAt96Dpi, 0, 2},
        {7, 0.5f, kAt96Dpi, 0, 4}, // 2.5, 3.5
        {2, 1, 0.0, 0, kMaxRegionCoordinate},
        {-2, 1, 0.0, 0, kMinRegionCoordinate},
        {0, 1, 0.0, 0, 0},
        {2, 1, nan, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(designToWindowPixels(c.value, c.scale, c.twipsPerPixel, c.offset), c.expected)
            << c.value << " x " << c.scale << " at " << c.twipsPerPixel << " + " << c.offset;
}

using fakes::FixedScreen;

// The outline is the rounded rectangle and the disc of the design, in pixels of the screen;
// only the outline outlives its making.
TEST(PanelOutline, IsTheRoundedRectangleAndTheDiscOfTheDesignAtEachResolution) {
    const std::pair<double, Region> cases[] = {
        {kAt96Dpi, Region::roundedRectangle(2, 1, 163, 231, 30, 56).united(Region::ellipse(38, 52, 204, 214))},
        {kAt120Dpi, Region::roundedRectangle(2, 1, 204, 289, 38, 70).united(Region::ellipse(48, 65, 255, 268))}};
    for (const auto& [twipsPerPixel, expected] : cases) {
        RegionTable regions;
        const RegionHandle outline = makePanelOutline(regions, FixedScreen(twipsPerPixel), 1.0f, 1.0f, 0, 0);
        EXPECT_EQ(regions.liveCount(), 1u) << twipsPerPixel;
        ASSERT_NE(regions.find(outline), nullptr);
        EXPECT_EQ(*regions.find(outline), expected) << twipsPerPixel;
    }
}

TEST(PanelOutline, WithOffsetsIsTheSameOutlineMoved) {
    RegionTable regions;
    const FixedScreen screen(kAt96Dpi);
    const Region plain = *regions.find(makePanelOutline(regions, screen, 1.0f, 1.0f, 0, 0));
    const Region moved = *regions.find(makePanelOutline(regions, screen, 1.0f, 1.0f, 10, -20));
    EXPECT_EQ(moved.area(), plain.area());
    for (int y = 0; y < 231; ++y)
        for (int x = 0; x < 204; ++x)
            ASSERT_EQ(moved.contains(x + 10, y - 20), plain.contains(x, y)) << x << "," << y;
}

} // namespace
} // namespace murmora
