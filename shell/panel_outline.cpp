#include "shell/panel_outline.h"

#include <algorithm>
#include <cmath>

#include "core/twips.h"

namespace murmora {

namespace {

// The design screen: 96 dots per inch.
constexpr double kDesignTwipsPerPixel = 15.0;

} // namespace

int designToWindowPixels(int designValue, float scale, double dotsPerInch, int offset) {
    const double exact =
        static_cast<double>(scale) * designValue * kDesignTwipsPerPixel / twipsPerPixel(dotsPerInch) + offset;
    if (std::isnan(exact)) return 0;
    // nearbyint rounds in the current mode, which is to nearest with halves to even.
    return static_cast<int>(std::clamp<double>(std::nearbyint(exact), kMinRegionCoordinate, kMaxRegionCoordinate));
}

Outline panelOutline(const ScreenMetrics& screen, float scaleX, float scaleY, std::int16_t offsetX,
                     std::int16_t offsetY) {
    auto across = [&](int v) { return designToWindowPixels(v, scaleX, screen.dotsPerInchX(), offsetX); };
    auto down = [&](int v) { return designToWindowPixels(v, scaleY, screen.dotsPerInchY(), offsetY); };
    auto widthAcross = [&](int v) { return designToWindowPixels(v, scaleX, screen.dotsPerInchX(), 0); };
    auto heightDown = [&](int v) { return designToWindowPixels(v, scaleY, screen.dotsPerInchY(), 0); };

    // The rounded rectangle on the left; the values are converted in this order.
    const int cornerHeight = heightDown(56);
    const int cornerWidth = widthAcross(30);
    const int boxBottom = down(231);
    const int boxRight = across(163);
    const int boxTop = down(1);
    const int boxLeft = across(2);
    const OutlineShape roundedBox =
        OutlineShape::roundedRectangle(boxLeft, boxTop, boxRight, boxBottom, cornerWidth, cornerHeight);

    // The disc on the right.
    const int discBottom = down(214);
    const int discRight = across(204);
    const int discTop = down(52);
    const int discLeft = across(38);
    return {roundedBox, OutlineShape::ellipse(discLeft, discTop, discRight, discBottom)};
}

} // namespace murmora
