#include "buttons/image_button.h"

namespace murmora {

namespace {
constexpr float kActiveAreaLeftTop = 5.0f;
}

ImageButton::ImageButton(ResourcePictures& pictures, PictureButton& control, ImageButtonLayout layout,
                         std::function<void()> onReleased, std::function<bool()> isActive)
    : pictures_(pictures), control_(control), layout_(layout), onReleased_(std::move(onReleased)),
      isActive_(std::move(isActive)) {
    control_.setMouseHandlers({
        [this](int, float, float) { onMouseDown(); },
        [this](int buttons, float x, float y) { onMouseMove(buttons, x, y); },
        [this](int, float, float) { onMouseUp(); },
    });
}

void ImageButton::onMouseDown() {
    if (isActive_()) press();
}

void ImageButton::onMouseMove(int buttons, float x, float y) {
    if (!isActive_() || buttons != kLeftButton) return;
    const bool inside =
        x >= kActiveAreaLeftTop && x <= layout_.rightBound && y >= kActiveAreaLeftTop && y <= layout_.bottomBound;
    if (inside) {
        press();
    } else {
        showReleasedPicture();
        state_ = ButtonState::released;
    }
}

void ImageButton::onMouseUp() {
    if (!isActive_() || state_ != ButtonState::pressed) return;
    showReleasedPicture();
    state_ = ButtonState::released;
    onReleased_();
}

void ImageButton::press() {
    pictures_.showCustomPicture(control_, layout_.pressedPicture);
    state_ = ButtonState::pressed;
}

} // namespace murmora
