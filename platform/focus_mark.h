#pragma once
#include <algorithm>
#include <cstdint>

namespace murmora {

// The mark of the picture button that has the keyboard's focus, drawn alike on every platform:
// a ring in the amber of a lit indicator, in the dark well the skin leaves around each button,
// one pixel outside the part of the picture that is the button itself (the round buttons' disc,
// the record button's pill). It never covers the pictures, so every picture of a press shows as
// it does without the keyboard.

// Pixels of a picture button, from its top-left corner; right and bottom exclusive.
struct PixelBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PixelBox&) const = default;
};

// The line the ring's pen follows, in the button's pixels: a rectangle whose corners are
// rounded by `radius`.
struct FocusRing {
    double left;
    double top;
    double width;
    double height;
    double radius;
    bool operator==(const FocusRing&) const = default;
};

inline constexpr double kFocusRingPenPixels = 2.0;
inline constexpr std::uint32_t kFocusRingRgb = 0xFFB030; // 255, 176, 48
// Between the button's edge and the middle of the pen: the pen then lies in the skin's well.
inline constexpr double kFocusRingGapPixels = 1.0;

// The box of the pixels for which `isOpaque(x, y)` holds, among `width` x `height`; empty when
// there are none.
template <class IsOpaque>
PixelBox opaqueBox(int width, int height, IsOpaque isOpaque) {
    PixelBox box{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!isOpaque(x, y)) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    return box.empty() ? PixelBox{} : box;
}

// The ring around the opaque part `box` of a button's picture: the box grown by a pixel, its
// corners rounded by half its smaller side (a circle round a disc, a pill round a pill).
inline FocusRing focusRingAround(const PixelBox& box) {
    const double width = box.right - box.left + 2 * kFocusRingGapPixels;
    const double height = box.bottom - box.top + 2 * kFocusRingGapPixels;
    return {box.left - kFocusRingGapPixels, box.top - kFocusRingGapPixels, width, height, std::min(width, height) / 2};
}

} // namespace murmora
