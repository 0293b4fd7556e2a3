#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "platform/regions.h"
#include "platform/screen_metrics.h"
#include "shell/panel_outline.h"

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

// A screen of fixed resolution that notes every read of its twips per pixel.
struct FixedScreen : ScreenMetrics {
    explicit FixedScreen(double twipsPerPixel) : twipsPerPixel(twipsPerPixel) {}
    double twipsPerPixelX() const override {
        reads += "X";
        return twipsPerPixel;
    }
    double twipsPerPixelY() const override {
        reads += "Y";
        return twipsPerPixel;
    }
    double twipsPerPixel;
    mutable std::string reads;
};

// Real regions that keep each region as it was made and the call that made it.
struct RecordingRegions : RegionTable {
    RegionHandle createRectangle(int l, int t, int r, int b) override {
        return note(RegionTable::createRectangle(l, t, r, b), "Rect", {l, t, r, b});
    }
    RegionHandle createRoundedRectangle(int l, int t, int r, int b, int w, int h) override {
        return note(RegionTable::createRoundedRectangle(l, t, r, b, w, h), "RoundRect", {l, t, r, b, w, h});
    }
    RegionHandle createEllipse(int l, int t, int r, int b) override {
        return note(RegionTable::createEllipse(l, t, r, b), "Elliptic", {l, t, r, b});
    }
    RegionHandle note(RegionHandle handle, std::string call, std::initializer_list<int> values) {
        for (int value : values)
            call.append(" ").append(std::to_string(value));
        calls.push_back(call);
        made.push_back(*find(handle));
        return handle;
    }
    std::vector<std::string> calls;
    std::vector<Region> made;
};

TEST(PanelOutline, IsMadeFromTheDesignValuesAndLeftAloneAlive) {
    RecordingRegions regions;
    FixedScreen screen(kAt96Dpi);
    const RegionHandle outline = makePanelOutline(regions, screen, 1.0f, 1.0f, 0, 0);
    EXPECT_EQ(regions.calls, (std::vector<std::string>{"Rect 0 0 0 0", "Rect 0 0 0 0", "RoundRect 2 1 163 231 30 56",
                                                       "Elliptic 38 52 204 214"}));
    // Corner height, corner width, bottom, right, top, left; then bottom, right, top, left.
    EXPECT_EQ(screen.reads, "YXYXYXYXYX");
    EXPECT_EQ(regions.liveCount(), 1u);
    ASSERT_NE(regions.find(outline), nullptr);
    EXPECT_TRUE(regions.remove(outline));
    EXPECT_EQ(regions.liveCount(), 0u);
}

// The outline at a resolution, with the rounded rectangle and the disc it was built from.
struct BuiltOutline {
    RecordingRegions regions;
    Region outline, rounded, disc;
    explicit BuiltOutline(double twipsPerPixel, std::int16_t offsetX = 0, std::int16_t offsetY = 0) {
        FixedScreen screen(twipsPerPixel);
        outline = *regions.find(makePanelOutline(regions, screen, 1.0f, 1.0f, offsetX, offsetY));
        rounded = regions.made.at(2);
        disc = regions.made.at(3);
    }
};

void expectMirroredInside(const Region& region) {
    const Region::Bounds box = region.boundingBox();
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            ASSERT_EQ(region.contains(x, y), region.contains(box.left + box.right - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(region.contains(x, y), region.contains(x, box.top + box.bottom - 1 - y)) << x << "," << y;
        }
    }
}

TEST(Outline, PixelsAt96And120DotsPerInch) {
    const struct {
        double twipsPerPixel;
        std::string roundedCall;
        Region::Bounds rounded; // as passed to the region call: right and bottom exclusive
        int cornerWidth, cornerHeight;
        Region::Bounds disc;
        int discOnlyX, discOnlyY; // (200, 133) of the design
    } cases[] = {{kAt96Dpi, "RoundRect 2 1 163 231 30 56", {2, 1, 163, 231}, 30, 56, {38, 52, 204, 214}, 200, 133},
                 {kAt120Dpi, "RoundRect 2 1 204 289 38 70", {2, 1, 204, 289}, 38, 70, {48, 65, 255, 268}, 250, 166}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << 1440 / c.twipsPerPixel << " dpi");
        const BuiltOutline built(c.twipsPerPixel);
        const auto& [l, t, r, b] = c.rounded;
        EXPECT_EQ(built.regions.calls.at(2), c.roundedCall);
        EXPECT_FALSE(built.outline.contains(1, 1) || built.outline.contains(2, 1));
        EXPECT_TRUE(built.outline.contains(c.discOnlyX, c.discOnlyY));
        EXPECT_FALSE(built.rounded.contains(c.discOnlyX, c.discOnlyY));
        // Each region call leaves out the column at its right edge and the row at its bottom.
        EXPECT_EQ(built.rounded.boundingBox(), (Region::Bounds{l, t, r - 1, b - 1}));
        const auto& [dl, dt, dr, db] = c.disc;
        EXPECT_EQ(built.disc.boundingBox(), (Region::Bounds{dl, dt, dr - 1, db - 1}));
        EXPECT_EQ(built.outline.boundingBox(), (Region::Bounds{l, t, dr - 1, b - 1}));
        EXPECT_TRUE(built.rounded.contains(l, (t + b) / 2) && built.rounded.contains(r - 2, (t + b) / 2));
        for (int y = -2; y < 300; ++y)
            for (int x = -2; x < 300; ++x)
                ASSERT_EQ(built.outline.contains(x, y), built.rounded.contains(x, y) || built.disc.contains(x, y))
                    << x << "," << y;
        expectMirroredInside(built.rounded);
        expectMirroredInside(built.disc);
        // Close to the area of the curves, the pixels along them going either way: the box less
        // its four corner cut-offs, and the ellipse through the outermost pixel centres.
        const double w = r - l - 1, h = b - t - 1, cw = c.cornerWidth, ch = c.cornerHeight;
        EXPECT_NEAR(double(built.rounded.area()), w * h - (1 - std::numbers::pi / 4) * (cw - 1) * (ch - 1),
                    std::numbers::pi * (cw + ch) / 8);
        const double dw = dr - dl - 1, dh = db - dt - 1;
        EXPECT_NEAR(double(built.disc.area()), std::numbers::pi * dw * dh / 4, std::numbers::pi * (dw + dh + 2) / 8);
    }
}

TEST(Outline, WithOffsetsIsTheSameOutlineMoved) {
    const BuiltOutline plain(kAt96Dpi), moved(kAt96Dpi, 10, -20);
    EXPECT_EQ(moved.outline.area(), plain.outline.area());
    for (int y = 0; y < 231; ++y)
        for (int x = 0; x < 204; ++x)
            ASSERT_EQ(moved.outline.contains(x + 10, y - 20), plain.outline.contains(x, y)) << x << "," << y;
}

} // namespace
} // namespace murmora
