#pragma once
#include <functional>

#include "buttons/resource_pictures.h"
#include "platform/controls.h"
#include "platform/screen_metrics.h"

namespace murmora {

// The press state of a picture button, by the numbers the rules speak of.
enum class ButtonState {
    released = 0,
    pressed = 2
};

// The part of a picture button that takes the pointer: bounds included, in twips from the
// button's top-left corner.
struct ActiveArea {
    float left, top, right, bottom;
    // Whether the pointer at (x, y), in pixels from the button's corner on `screen`, is over it.
    bool holds(double x, double y, const ScreenMetrics& screen) const;
};

// Pictures and active area of one image button. The area's bounds are inclusive, in twips
// from the control's top-left corner; the left and top bounds are 5 on every button.
struct ImageButtonLayout {
    int releasedPicture;
    int pressedPicture;
    float rightBound;
    float bottomBound;
};

// Minimize and Close (375 x 375 twips) and the four large buttons (825 x 825 twips).
inline constexpr ImageButtonLayout kMinimizeButtonLayout{101, 102, 300.0f, 300.0f};
inline constexpr ImageButtonLayout kCloseButtonLayout{103, 104, 300.0f, 300.0f};
inline constexpr ImageButtonLayout kStopButtonLayout{105, 106, 800.0f, 780.0f};
inline constexpr ImageButtonLayout kPlayButtonLayout{107, 108, 800.0f, 780.0f};
inline constexpr ImageButtonLayout kScheduleButtonLayout{109, 110, 800.0f, 780.0f};
inline constexpr ImageButtonLayout kConvertButtonLayout{111, 112, 800.0f, 780.0f};

// Push-button behaviour for a picture button: the pressed picture on mouse-down with any
// button, following the pointer while the left button alone is held, and on a release in the
// pressed state the released picture, then the action. While `isActive` says no, the button
// ignores the mouse altogether.
class ImageButton {
public:
    ImageButton(
        ResourcePictures& pictures, const ScreenMetrics& screen, PictureButton& control, ImageButtonLayout layout,
        std::function<void()> onReleased, std::function<bool()> isActive = [] { return true; });
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;

    void showReleasedPicture() { pictures_.showCustomPicture(control_, layout_.releasedPicture); }

private:
    void onMouseDown();
    void onMouseMove(int buttons, double x, double y);
    void onMouseUp();
    void press();

    ResourcePictures& pictures_;
    const ScreenMetrics& screen_;
    PictureButton& control_;
    ImageButtonLayout layout_;
    std::function<void()> onReleased_;
    std::function<bool()> isActive_;
    ButtonState state_ = ButtonState::released;
};

} // namespace murmora
