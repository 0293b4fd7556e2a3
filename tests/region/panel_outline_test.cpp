#include <gtest/gtest.h>

#include <limits>

#include "core/regions.h"
#include "platform/screen_metrics.h"
#include "shell/panel_outline.h"
#include "tests/support/fixed_screen.h"

namespace murmora {
namespace {

constexpr double kAt96Dpi = 96;
constexpr double kAt120Dpi = 120;

TEST(DesignValueConversion, ScalesAddsTheOffsetAndRoundsHalvesToEven) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = 1e12;
    const struct {
        int value;
        float scale;
        double dotsPerInch;
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
        {2, 1, huge, 0, kMaxRegionCoordinate},
        {-2, 1, huge, 0, kMinRegionCoordinate},
        {0, 1, huge, 0, 0},
        {2, 1, nan, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(designToWindowPixels(c.value, c.scale, c.dotsPerInch, c.offset), c.expected)
            << c.value << " x " << c.scale << " at " << c.dotsPerInch << " + " << c.offset;
}

using fakes::FixedScreen;

// The outline is the rounded rectangle and the disc of the design, in pixels of the screen,
// and moved by the offsets.
TEST(PanelOutline, IsTheRoundedRectangleAndTheDiscOfTheDesignAtEachResolution) {
    EXPECT_EQ(
        panelOutline(FixedScreen(kAt96Dpi), 1.0f, 1.0f, 0, 0),
        (Outline{OutlineShape::roundedRectangle(2, 1, 163, 231, 30, 56), OutlineShape::ellipse(38, 52, 204, 214)}));
    EXPECT_EQ(
        panelOutline(FixedScreen(kAt120Dpi), 1.0f, 1.0f, 0, 0),
        (Outline{OutlineShape::roundedRectangle(2, 1, 204, 289, 38, 70), OutlineShape::ellipse(48, 65, 255, 268)}));
    EXPECT_EQ(
        panelOutline(FixedScreen(kAt96Dpi), 1.0f, 1.0f, 10, -20),
        (Outline{OutlineShape::roundedRectangle(12, -19, 173, 211, 30, 56), OutlineShape::ellipse(48, 32, 214, 194)}))
        << "moved";
}

} // namespace
} // namespace murmora
