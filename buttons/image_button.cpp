#include "buttons/image_button.h"

#include "core/twips.h"

namespace murmora {

namespace {
constexpr float kActiveAreaLeftTop = 5.0f;
}

bool ActiveArea::holds(double x, double y, const ScreenMetrics& screen) const {
    const auto across = static_cast<float>(x * twipsPerPixel(screen.dotsPerInchX()));
    const auto down = static_cast<float>(y * twipsPerPixel(screen.dotsPerInchY()));
    return across >= left && across <= right && down >= top && down <= bottom;
}

ImageButton::ImageButton(ResourcePictures& pictures, const ScreenMetrics& screen, PictureButton& control,
                         ImageButtonLayout layout, std::function<void()> onReleased, std::function<bool()> isActive)
    : pictures_(pictures), screen_(screen), control_(control), layout_(layout), onReleased_(std::move(onReleased)),
      isActive_(std::move(isActive)) {
    control_.setMouseHandlers({
        [this](int, double, double) { onMouseDown(); },
        [this](int buttons, double x, double y) { onMouseMove(buttons, x, y); },
        [this](int, double, double) { onMouseUp(); },
    });
}

void ImageButton::onMouseDown() {
    if (isActive_()) press();
}

void ImageButton::onMouseMove(int buttons, double x, double y) {
    if (!isActive_() || buttons != kLeftButton) return;
    const ActiveArea area{kActiveAreaLeftTop, kActiveAreaLeftTop, layout_.rightBound, layout_.bottomBound};
    if (area.holds(x, y, screen_)) {
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
