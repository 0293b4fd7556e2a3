#pragma once
#include <functional>
#include <string>

#include "platform/picture.h"

namespace murmora {

class Label {
public:
    virtual ~Label() = default;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int pixels) = 0;
};

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// A vertical scroll bar used as a spinner: the top end holds the largest value.
class ScrollBar {
public:
    virtual ~ScrollBar() = default;
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
    // Called after every settled change of the value.
    virtual void SetChangeHandler(std::function<void()> handler) = 0;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    // 1 when ticked, 0 when cleared.
    virtual int Value() const = 0;
    virtual void SetValue(int value) = 0;
};

// A one-second timer of the main window; ticks run on the user-interface thread.
class Timer {
public:
    virtual ~Timer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void SetTickHandler(std::function<void()> handler) = 0;
};

// Mouse buttons as a set: 1 left, 2 right, 4 middle.
enum MouseButton : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// Mouse events of a picture control: Button (set of held buttons), Shift, X and Y in twips
// from the control's top-left corner.
using MouseHandler = std::function<void(int button, int shift, float x, float y)>;

struct MouseHandlers {
    MouseHandler down;
    MouseHandler move;
    MouseHandler up;
};

// The record button: a picture box that shows a bitmap and reports the mouse.
class PictureBox {
public:
    virtual ~PictureBox() = default;
    virtual void SetPicture(const Picture& picture) = 0;
    virtual void SetMouseHandlers(MouseHandlers handlers) = 0;
};

// The see-through picture control of the image buttons.
class ImageButton {
public:
    virtual ~ImageButton() = default;
    // The control's picture operation; the two numbers are always 0 and 0.
    virtual void SetPicture(const Picture& picture, float x, float y) = 0;
    virtual void SetMouseHandlers(MouseHandlers handlers) = 0;
};

} // namespace murmora
