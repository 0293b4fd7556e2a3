// The window's outline: the order of its steps, the conversion of the design values and the
// pixels it ends up with at 96 and at 120 dots per inch.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "platform/regions.h"
#include "platform/screen_metrics.h"
#include "shell/shape_region.h"

namespace murmora {
namespace {

// A screen of fixed resolution that notes every read of its twips per pixel.
class FixedScreen : public ScreenMetrics {
public:
    explicit FixedScreen(double twipsPerPixel) : twipsPerPixel_(twipsPerPixel) {}
    double TwipsPerPixelX() const override {
        reads += "X";
        return twipsPerPixel_;
    }
    double TwipsPerPixelY() const override {
        reads += "Y";
        return twipsPerPixel_;
    }
    mutable std::string reads;

private:
    double twipsPerPixel_;
};

// Real regions, with every call written down. Handles are named #1, #2, ... in the order the
// regions were made, and each region is kept as it was made.
class RecordingRegions : public Regions {
public:
    RegionHandle CreateRectRgn(int l, int t, int r, int b) override {
        return Made(table_.CreateRectRgn(l, t, r, b), "CreateRectRgn" + Numbers({l, t, r, b}));
    }
    RegionHandle CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) override {
        return Made(table_.CreateRoundRectRgn(l, t, r, b, w, h), "CreateRoundRectRgn" + Numbers({l, t, r, b, w, h}));
    }
    RegionHandle CreateEllipticRgn(int l, int t, int r, int b) override {
        return Made(table_.CreateEllipticRgn(l, t, r, b), "CreateEllipticRgn" + Numbers({l, t, r, b}));
    }
    int CombineRgn(RegionHandle dest, RegionHandle src1, RegionHandle src2, int mode) override {
        const char* modeName = mode == RGN_OR ? "RGN_OR" : mode == RGN_COPY ? "RGN_COPY" : "?";
        calls.push_back("CombineRgn(" + Name(dest) + ", " + Name(src1) + ", " + Name(src2) + ", " + modeName + ")");
        return table_.CombineRgn(dest, src1, src2, mode);
    }
    bool DeleteObject(RegionHandle handle) override {
        calls.push_back("DeleteObject(" + Name(handle) + ")");
        return table_.DeleteObject(handle);
    }
    const Region* Find(RegionHandle handle) const override { return table_.Find(handle); }
    std::size_t LiveCount() const override { return table_.LiveCount(); }

    std::vector<std::string> calls;
    std::vector<Region> made; // in the order of the names

private:
    static std::string Numbers(std::initializer_list<int> values) {
        std::string text = "(";
        for (int value : values) text += (text.size() > 1 ? ", " : "") + std::to_string(value);
        return text + ")";
    }
    RegionHandle Made(RegionHandle handle, const std::string& call) {
        made.push_back(*table_.Find(handle));
        names_[handle] = "#" + std::to_string(made.size());
        calls.push_back(call + " -> " + names_[handle]);
        return handle;
    }
    std::string Name(RegionHandle handle) const {
        auto found = names_.find(handle);
        return found == names_.end() ? "?" : found->second;
    }

    RegionTable table_;
    std::map<RegionHandle, std::string> names_;
};

constexpr double At96Dpi = 1440.0 / 96;
constexpr double At120Dpi = 1440.0 / 120;

// The outline built at a resolution, with the shapes it was built from.
struct BuiltOutline {
    RecordingRegions regions;
    RegionHandle ShapeRegion = 0;
    Region outline, rounded, disc;

    explicit BuiltOutline(double twipsPerPixel, std::int16_t offsetX = 0, std::int16_t offsetY = 0) {
        FixedScreen screen(twipsPerPixel);
        MakeShapeRegion(regions, screen, ShapeRegion, 1.0f, 1.0f, offsetX, offsetY);
        outline = *regions.Find(ShapeRegion);
        rounded = regions.made.at(2);
        disc = regions.made.at(3);
    }
};

// ---- Conversion of design values ----

TEST(DesignValueConversion, At96DotsPerInchKeepsEveryValue) {
    for (int value : {0, 1, 2, 30, 38, 52, 56, 163, 204, 214, 231}) {
        EXPECT_EQ(DesignToWindowPixels(value, 1.0f, At96Dpi, 0), value);
    }
}

TEST(DesignValueConversion, At120DotsPerInchGrowsByAQuarterWithHalvesToEven) {
    EXPECT_EQ(DesignToWindowPixels(2, 1.0f, At120Dpi, 0), 2);     // 2.5
    EXPECT_EQ(DesignToWindowPixels(6, 1.0f, At120Dpi, 0), 8);     // 7.5
    EXPECT_EQ(DesignToWindowPixels(30, 1.0f, At120Dpi, 0), 38);   // 37.5
    EXPECT_EQ(DesignToWindowPixels(38, 1.0f, At120Dpi, 0), 48);   // 47.5
    EXPECT_EQ(DesignToWindowPixels(214, 1.0f, At120Dpi, 0), 268); // 267.5
    EXPECT_EQ(DesignToWindowPixels(163, 1.0f, At120Dpi, 0), 204); // 203.75
    EXPECT_EQ(DesignToWindowPixels(1, 1.0f, At120Dpi, 0), 1);     // 1.25
    EXPECT_EQ(DesignToWindowPixels(-2, 1.0f, At120Dpi, 0), -2);   // -2.5
}

TEST(DesignValueConversion, AddsTheOffsetBeforeRounding) {
    EXPECT_EQ(DesignToWindowPixels(2, 1.0f, At120Dpi, 1), 4);  // 3.5
    EXPECT_EQ(DesignToWindowPixels(2, 1.0f, At120Dpi, -1), 2); // 1.5
    EXPECT_EQ(DesignToWindowPixels(163, 1.0f, At96Dpi, -3), 160);
}

TEST(DesignValueConversion, AppliesTheScale) {
    EXPECT_EQ(DesignToWindowPixels(163, 2.0f, At96Dpi, 0), 326);
    EXPECT_EQ(DesignToWindowPixels(5, 0.5f, At96Dpi, 0), 2);   // 2.5
    EXPECT_EQ(DesignToWindowPixels(7, 0.5f, At96Dpi, 0), 4);   // 3.5
}

TEST(DesignValueConversion, AScreenWithoutResolutionGivesAValueInRange) {
    EXPECT_EQ(DesignToWindowPixels(2, 1.0f, 0.0, 0), MaxRegionCoordinate);
    EXPECT_EQ(DesignToWindowPixels(-2, 1.0f, 0.0, 0), MinRegionCoordinate);
    EXPECT_EQ(DesignToWindowPixels(0, 1.0f, 0.0, 0), 0);
    EXPECT_EQ(DesignToWindowPixels(2, 1.0f, std::numeric_limits<double>::quiet_NaN(), 0), 0);
}

// ---- The steps ----

TEST(MakeShapeRegion, BuildsTheOutlineInItsOrderOfSteps) {
    BuiltOutline built(At96Dpi);
    const std::vector<std::string> expected = {
        "CreateRectRgn(0, 0, 0, 0) -> #1",
        "CreateRectRgn(0, 0, 0, 0) -> #2",
        "CreateRoundRectRgn(2, 1, 163, 231, 30, 56) -> #3",
        "CombineRgn(#1, #3, #3, RGN_COPY)",
        "DeleteObject(#3)",
        "CreateEllipticRgn(38, 52, 204, 214) -> #4",
        "CombineRgn(#2, #1, #1, RGN_COPY)",
        "CombineRgn(#1, #2, #4, RGN_OR)",
        "DeleteObject(#4)",
        "DeleteObject(#2)",
    };
    EXPECT_EQ(built.regions.calls, expected);
}

TEST(MakeShapeRegion, ReadsTheScreenForEveryValueInTheOrderOfConversion) {
    RecordingRegions regions;
    FixedScreen screen(At96Dpi);
    RegionHandle ShapeRegion = 0;
    MakeShapeRegion(regions, screen, ShapeRegion, 1.0f, 1.0f, 0, 0);
    // Corner height, corner width, bottom, right, top, left; then bottom, right, top, left.
    EXPECT_EQ(screen.reads, "YXYXYXYXYX");
}

TEST(MakeShapeRegion, StoresAndReturnsTheOnlyRegionLeftAlive) {
    RegionTable regions;
    FixedScreen screen(At96Dpi);
    RegionHandle ShapeRegion = 0;
    const RegionHandle returned = MakeShapeRegion(regions, screen, ShapeRegion, 1.0f, 1.0f, 0, 0);
    EXPECT_NE(ShapeRegion, 0u);
    EXPECT_EQ(returned, ShapeRegion);
    EXPECT_EQ(regions.LiveCount(), 1u);
    ASSERT_NE(regions.Find(ShapeRegion), nullptr);
    EXPECT_TRUE(regions.DeleteObject(ShapeRegion));
    EXPECT_EQ(regions.LiveCount(), 0u);
}

TEST(MakeShapeRegion, At120DotsPerInchScalesEveryValue) {
    BuiltOutline built(At120Dpi);
    EXPECT_EQ(built.regions.calls.at(2), "CreateRoundRectRgn(2, 1, 204, 289, 38, 70) -> #3");
    EXPECT_EQ(built.regions.calls.at(5), "CreateEllipticRgn(48, 65, 255, 268) -> #4");
}

// ---- The pixels of the outline ----

void ExpectMirroredInside(const Region& region) {
    const Region::Bounds box = region.BoundingBox();
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            ASSERT_EQ(region.Contains(x, y), region.Contains(box.left + box.right - 1 - x, y)) << x << "," << y;
            ASSERT_EQ(region.Contains(x, y), region.Contains(x, box.top + box.bottom - 1 - y)) << x << "," << y;
        }
    }
}

void ExpectUnionOfItsShapes(const BuiltOutline& built) {
    std::int64_t inEither = 0;
    for (int y = -2; y < 300; ++y) {
        for (int x = -2; x < 300; ++x) {
            const bool expected = built.rounded.Contains(x, y) || built.disc.Contains(x, y);
            ASSERT_EQ(built.outline.Contains(x, y), expected) << x << "," << y;
            inEither += expected ? 1 : 0;
        }
    }
    EXPECT_EQ(built.outline.Area(), inEither);
}

// Close to the area of the curves: a box less its four corner cut-offs, and an ellipse.
void ExpectAreaOfCurves(const Region& rounded, int width, int height, int cornerWidth, int cornerHeight) {
    const double cornerCut = (1 - std::numbers::pi / 4) * (cornerWidth - 1) * (cornerHeight - 1);
    const double slack = std::numbers::pi * (cornerWidth + cornerHeight) / 8;
    EXPECT_NEAR(static_cast<double>(rounded.Area()), double(width - 1) * (height - 1) - cornerCut, slack);
}
void ExpectAreaOfEllipse(const Region& disc, int width, int height) {
    EXPECT_NEAR(static_cast<double>(disc.Area()), std::numbers::pi * (width - 1) * (height - 1) / 4,
                std::numbers::pi * (width + height) / 8);
}

TEST(OutlineAt96DotsPerInch, LeavesOutTheTopLeftCornerAndHoldsTheDisc) {
    BuiltOutline built(At96Dpi);
    EXPECT_FALSE(built.outline.Contains(1, 1));
    EXPECT_FALSE(built.outline.Contains(2, 1));
    EXPECT_TRUE(built.outline.Contains(200, 133));
    EXPECT_FALSE(built.rounded.Contains(200, 133)); // the disc alone holds it
}

TEST(OutlineAt96DotsPerInch, IsTheUnionOfTheRoundedRectangleAndTheDisc) {
    BuiltOutline built(At96Dpi);
    ExpectUnionOfItsShapes(built);
}

TEST(OutlineAt96DotsPerInch, FitsTheWindowLessTheRightColumnAndBottomRowOfEachShape) {
    BuiltOutline built(At96Dpi);
    EXPECT_EQ(built.rounded.BoundingBox(), (Region::Bounds{2, 1, 163 - 1, 231 - 1}));
    EXPECT_EQ(built.disc.BoundingBox(), (Region::Bounds{38, 52, 204 - 1, 214 - 1}));
    EXPECT_EQ(built.outline.BoundingBox(), (Region::Bounds{2, 1, 204 - 1, 231 - 1}));
}

TEST(OutlineAt96DotsPerInch, ShapesAreSymmetricAndCoverTheirCurves) {
    BuiltOutline built(At96Dpi);
    ExpectMirroredInside(built.rounded);
    ExpectMirroredInside(built.disc);
    ExpectAreaOfCurves(built.rounded, 163 - 2, 231 - 1, 30, 56);
    ExpectAreaOfEllipse(built.disc, 204 - 38, 214 - 52);
}

TEST(OutlineAt120DotsPerInch, RoundedRectangleSpansFrom2To204) {
    BuiltOutline built(At120Dpi);
    const Region::Bounds box = built.rounded.BoundingBox();
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.right, 204 - 1); // the region call leaves out the column at its right edge
    EXPECT_TRUE(built.rounded.Contains(2, 150));
    EXPECT_TRUE(built.rounded.Contains(202, 150));
}

TEST(OutlineAt120DotsPerInch, KeepsTheNamedPointsScaled) {
    BuiltOutline built(At120Dpi);
    EXPECT_FALSE(built.outline.Contains(1, 1));
    EXPECT_FALSE(built.outline.Contains(2, 1));
    EXPECT_TRUE(built.outline.Contains(250, 166)); // (200, 133) x 1.25
    EXPECT_FALSE(built.rounded.Contains(250, 166));
}

TEST(OutlineAt120DotsPerInch, IsTheUnionOfItsShapesWhichAreSymmetric) {
    BuiltOutline built(At120Dpi);
    ExpectUnionOfItsShapes(built);
    EXPECT_EQ(built.outline.BoundingBox(), (Region::Bounds{2, 1, 255 - 1, 289 - 1}));
    ExpectMirroredInside(built.rounded);
    ExpectMirroredInside(built.disc);
    ExpectAreaOfCurves(built.rounded, 204 - 2, 289 - 1, 38, 70);
    ExpectAreaOfEllipse(built.disc, 255 - 48, 268 - 65);
}

TEST(OutlineWithOffsets, IsTheSameOutlineMoved) {
    BuiltOutline plain(At96Dpi);
    BuiltOutline moved(At96Dpi, 10, -20);
    EXPECT_EQ(moved.outline.Area(), plain.outline.Area());
    for (int y = 0; y < 231; ++y) {
        for (int x = 0; x < 204; ++x) {
            ASSERT_EQ(moved.outline.Contains(x + 10, y - 20), plain.outline.Contains(x, y)) << x << "," << y;
        }
    }
}

} // namespace
} // namespace murmora
