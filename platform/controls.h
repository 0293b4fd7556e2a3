#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "platform/picture.h"

namespace murmora {

// A text label of a window.
class Label {
public:
    virtual ~Label() = default;
    virtual void setCaption(const std::string& caption) = 0;
    virtual void setLeft(int pixels) = 0;
};

// A text box the user may type into.
class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Called when the user has finished an edit: Enter, or the focus left the box.
    virtual void setEditFinishedHandler(std::function<void()> handler) = 0;
    // Called for the keyboard's Up arrow (+1) and Down arrow (-1) in the box.
    virtual void setStepHandler(std::function<void(int steps)> handler) = 0;
};

// A vertical scroll bar used as a spinner: the top end holds the largest value, and the value
// stays within the spinner's range.
class Spinner {
public:
    virtual ~Spinner() = default;
    virtual int value() const = 0;
    virtual void setValue(int value) = 0;
    virtual int minimum() const = 0;
    virtual int maximum() const = 0;
    // Called after every settled change of the value.
    virtual void setChangeHandler(std::function<void()> handler) = 0;
};

class CheckBox {
public:
    virtual ~CheckBox() = default;
    virtual bool isChecked() const = 0;
};

// A timer whose ticks run on the user-interface thread, once a second unless given another
// interval.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual void setInterval(std::chrono::milliseconds interval) = 0;
    virtual void setTickHandler(std::function<void()> handler) = 0;
};

// Mouse buttons, as bits of the set of buttons an event reports.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;

// A mouse event of a picture button: the buttons (for a move, those held; for a press or
// release, the one that changed), and X and Y in pixels from the button's top-left corner
// (with a fraction where the screen is scaled).
using MouseHandler = std::function<void(int buttons, double x, double y)>;

struct MouseHandlers {
    MouseHandler down;
    MouseHandler move;
    MouseHandler up;
};

// A control that shows a picture and reports the mouse: the record button and the image
// buttons. After a press it keeps reporting moves, also outside it, and reports the release
// wherever the pointer is. The keyboard and screen readers press it too; it reports their
// press as the mouse's: a left press and release in its middle, and a press given up as a
// move off it.
class PictureButton {
public:
    virtual ~PictureButton() = default;
    virtual void setPicture(const Picture& picture) = 0;
    virtual void setMouseHandlers(MouseHandlers handlers) = 0;
    // A word screen readers give with the button's name for as long as it holds, the button
    // then counting as pressed ("recording" on the record button during a take); "" for none.
    virtual void setStatusText(const std::string& status) = 0;
};

} // namespace murmora
