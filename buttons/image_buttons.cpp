#include "buttons/image_buttons.h"

#include "shell/shared_state.h"

namespace murmora {

namespace {
constexpr float ActiveAreaLeftTop = 5.0f;
}

ImageButtonBehaviour::ImageButtonBehaviour(ResourcePictures& pictures, PictureButton& control,
                                           std::int16_t& pressState, ImageButtonLayout layout)
    : pictures_(pictures), control_(control), pressState_(pressState), layout_(layout) {}

void ImageButtonBehaviour::MouseDown(int, float, float) {
    pictures_.showCustomPicture(control_, layout_.pressedPicture);
    pressState_ = ButtonPressed;
}

void ImageButtonBehaviour::MouseMove(int button, float x, float y) {
    if (button != kLeftButton) return;
    const bool inside = x >= ActiveAreaLeftTop && x <= layout_.rightBound && y >= ActiveAreaLeftTop &&
                        y <= layout_.bottomBound;
    if (inside) {
        pictures_.showCustomPicture(control_, layout_.pressedPicture);
        pressState_ = ButtonPressed;
    } else {
        ShowNormalPicture();
        pressState_ = ButtonReleased;
    }
}

void ImageButtonBehaviour::MouseUp(int, float, float, const std::function<void()>& action) {
    if (pressState_ != ButtonPressed) return;
    ShowNormalPicture();
    pressState_ = ButtonReleased;
    action();
}

void ImageButtonBehaviour::ShowNormalPicture() { pictures_.showCustomPicture(control_, layout_.normalPicture); }

} // namespace murmora
