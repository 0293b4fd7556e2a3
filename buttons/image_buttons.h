#pragma once
#include <cstdint>
#include <functional>

#include "platform/controls.h"
#include "shell/resource_pictures.h"

namespace murmora {

// Pictures and active area of one image button. The area's bounds are inclusive, in twips
// from the control's top-left corner; the left and top bounds are 5 on every button.
struct ImageButtonLayout {
    std::int32_t normalPicture;
    std::int32_t pressedPicture;
    float rightBound;
    float bottomBound;
};

// Close and Minimize (375 x 375 twips) and the four large buttons (825 x 825 twips).
inline constexpr ImageButtonLayout SeeThroughMinLayout{101, 102, 300.0f, 300.0f};
inline constexpr ImageButtonLayout SeeThroughCloseLayout{103, 104, 300.0f, 300.0f};
inline constexpr ImageButtonLayout SeeThroughCutLayout{105, 106, 800.0f, 780.0f};
inline constexpr ImageButtonLayout SeeThroughPlayLayout{107, 108, 800.0f, 780.0f};
inline constexpr ImageButtonLayout SeeThroughTimeLayout{109, 110, 800.0f, 780.0f};
inline constexpr ImageButtonLayout SeeThroughWavLayout{111, 112, 800.0f, 780.0f};

// Push-button behaviour for a picture control: pressed picture on mouse-down, following the
// pointer while the left button alone is held, and the action on a release in the pressed
// state, after the normal picture is back.
class ImageButtonBehaviour {
public:
    ImageButtonBehaviour(ResourcePictures& pictures, PictureButton& control, std::int16_t& pressState,
                         ImageButtonLayout layout);

    void MouseDown(int button, float x, float y);
    void MouseMove(int button, float x, float y);
    // Runs `action` when the button was pressed; does nothing otherwise.
    void MouseUp(int button, float x, float y, const std::function<void()>& action);

    void ShowNormalPicture();

private:
    ResourcePictures& pictures_;
    PictureButton& control_;
    std::int16_t& pressState_;
    ImageButtonLayout layout_;
};

} // namespace murmora
