#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"

namespace murmora::fakes {

class FakeLabel : public Label {
public:
    std::string caption;
    int left = 0;
    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& c) override { caption = c; }
    int Left() const override { return left; }
    void SetLeft(int pixels) override { left = pixels; }
};

class FakeTextBox : public TextBox {
public:
    std::string text;
    std::string Text() const override { return text; }
    void SetText(const std::string& t) override { text = t; }
};

// Clamps to its range and reports a settled change, as the spinner widget does.
class FakeScrollBar : public ScrollBar {
public:
    FakeScrollBar(int minimum, int maximum) : min(minimum), max(maximum), value(minimum) {}
    int min;
    int max;
    int value;
    std::function<void()> onChange;

    int Value() const override { return value; }
    void SetValue(int v) override {
        v = std::clamp(v, min, max);
        if (v == value) return;
        value = v;
        if (onChange) onChange();
    }
    void SetChangeHandler(std::function<void()> handler) override { onChange = std::move(handler); }
    void StepUp() { SetValue(value + 1); }
    void StepDown() { SetValue(value - 1); }
};

class FakeCheckBox : public CheckBox {
public:
    int value = 0;
    int Value() const override { return value; }
    void SetValue(int v) override { value = v; }
};

class FakeTimer : public Timer {
public:
    bool enabled = true;  // enabled in the window's design until start-up disables it
    std::function<void()> onTick;
    bool Enabled() const override { return enabled; }
    void SetEnabled(bool e) override { enabled = e; }
    void SetTickHandler(std::function<void()> handler) override { onTick = std::move(handler); }
    // One tick, if the timer runs.
    void Tick() {
        if (enabled && onTick) onTick();
    }
};

class FakePictureBox : public PictureBox {
public:
    std::vector<std::string> shown;
    MouseHandlers mouse;
    std::string Current() const { return shown.empty() ? "" : shown.back(); }
    void SetPicture(const Picture& picture) override { shown.push_back(picture.name); }
    void SetMouseHandlers(MouseHandlers handlers) override { mouse = std::move(handlers); }
    void Down(int button, float x = 100, float y = 100) { mouse.down(button, 0, x, y); }
    void Move(int button, float x, float y) { mouse.move(button, 0, x, y); }
    void Up(int button, float x = 100, float y = 100) { mouse.up(button, 0, x, y); }
};

class FakeImageButton : public ImageButton {
public:
    std::vector<std::string> shown;  // every picture handed over, "" for no picture
    std::vector<std::pair<float, float>> pictureArguments;
    MouseHandlers mouse;
    std::string Current() const { return shown.empty() ? "" : shown.back(); }
    void SetPicture(const Picture& picture, float x, float y) override {
        shown.push_back(picture ? picture.name : "");
        pictureArguments.emplace_back(x, y);
    }
    void SetMouseHandlers(MouseHandlers handlers) override { mouse = std::move(handlers); }
    void Down(int button = LeftButton, float x = 100, float y = 100) { mouse.down(button, 0, x, y); }
    void Move(int button, float x, float y) { mouse.move(button, 0, x, y); }
    void Up(int button = LeftButton, float x = 100, float y = 100) { mouse.up(button, 0, x, y); }
    // A press and release in the middle of the button.
    void Click() {
        Down();
        Up();
    }
};

// Answers each showing with the next scripted answer; nothing scripted counts as a cancel.
// An answer may run events first (what a modal dialog lets through while it is open).
class FakeFileDialog : public FileDialog {
public:
    struct Answer {
        std::optional<std::string> path;
        std::function<void()> whileOpen;
    };
    FileDialogSetup setup;
    std::deque<Answer> answers;
    std::vector<std::string> shownAs;  // "save" or "open", for each showing

    void Configure(const FileDialogSetup& s) override { setup = s; }
    std::optional<std::string> ShowSave() override { return Show("save"); }
    std::optional<std::string> ShowOpen() override { return Show("open"); }
    void Answers(std::optional<std::string> path, std::function<void()> whileOpen = {}) {
        answers.push_back({std::move(path), std::move(whileOpen)});
    }

private:
    std::optional<std::string> Show(const char* kind) {
        shownAs.emplace_back(kind);
        if (answers.empty()) return std::nullopt;
        Answer answer = std::move(answers.front());
        answers.pop_front();
        if (answer.whileOpen) answer.whileOpen();
        return answer.path;
    }
};

} // namespace murmora::fakes
