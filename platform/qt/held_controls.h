#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "platform/controls.h"
#include "platform/schedule_layout.h"

namespace murmora::qt {

// Controls the rules can be given before their widgets are made: each keeps what it is told,
// hands it to its widget once that is made, and from then on passes everything on to it.

class HeldTextBox final : public TextBox {
public:
    std::string text() const override { return box_ ? box_->text() : text_; }
    void setText(const std::string& text) override {
        if (box_)
            box_->setText(text);
        else
            text_ = text;
    }
    void setEditFinishedHandler(std::function<void()> handler) override {
        if (box_)
            box_->setEditFinishedHandler(std::move(handler));
        else
            onEditFinished_ = std::move(handler);
    }
    void setStepHandler(std::function<void(int)> handler) override {
        if (box_)
            box_->setStepHandler(std::move(handler));
        else
            onStep_ = std::move(handler);
    }
    void handTo(TextBox& box) {
        box.setText(text_);
        box.setEditFinishedHandler(std::move(onEditFinished_));
        box.setStepHandler(std::move(onStep_));
        box_ = &box;
    }

private:
    TextBox* box_ = nullptr;
    std::string text_;
    std::function<void()> onEditFinished_;
    std::function<void(int)> onStep_;
};

// Until its widget is made it behaves as the widget does: it starts at its minimum, keeps its
// value within its range and tells of every change.
class HeldSpinner final : public Spinner {
public:
    explicit HeldSpinner(schedule_layout::Range range)
        : minimum_(range.minimum), maximum_(range.maximum), value_(range.minimum) {}
    int value() const override { return spinner_ ? spinner_->value() : value_; }
    void setValue(int value) override {
        if (spinner_) return spinner_->setValue(value);
        value = std::clamp(value, minimum_, maximum_);
        if (value == value_) return;
        value_ = value;
        if (onChange_) onChange_();
    }
    int minimum() const override { return minimum_; }
    int maximum() const override { return maximum_; }
    void setChangeHandler(std::function<void()> handler) override {
        if (spinner_)
            spinner_->setChangeHandler(std::move(handler));
        else
            onChange_ = std::move(handler);
    }
    // The value goes over before the handler, which the widget does not tell of its start.
    void handTo(Spinner& spinner) {
        spinner.setValue(value_);
        spinner.setChangeHandler(std::move(onChange_));
        spinner_ = &spinner;
    }

private:
    Spinner* spinner_ = nullptr;
    int minimum_;
    int maximum_;
    int value_;
    std::function<void()> onChange_;
};

// Nobody can tick a box that is not made yet.
class HeldCheckBox final : public CheckBox {
public:
    bool isChecked() const override { return box_ && box_->isChecked(); }
    void handTo(const CheckBox& box) { box_ = &box; }

private:
    const CheckBox* box_ = nullptr;
};

} // namespace murmora::qt
