#pragma once
#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/announcer.h"
#include "platform/choice_menu.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/level_display.h"

namespace murmora::fakes {

class FakeLabel : public Label {
public:
    std::string caption;
    int left = 0;
    void setCaption(const std::string& c) override { caption = c; }
    void setLeft(int pixels) override { left = pixels; }
};

class FakeTextBox : public TextBox {
public:
    std::string contents;
    std::function<void()> onEditFinished;
    std::function<void(int)> onStep;
    std::string text() const override { return contents; }
    void setText(const std::string& t) override { contents = t; }
    void setEditFinishedHandler(std::function<void()> handler) override { onEditFinished = std::move(handler); }
    void setStepHandler(std::function<void(int)> handler) override { onStep = std::move(handler); }
    // The user types `typed` over the text and presses Enter.
    void type(const std::string& typed) {
        contents = typed;
        if (onEditFinished) onEditFinished();
    }
};

// Clamps to its range and reports a settled change, as the spinner widget does.
class FakeSpinner : public Spinner {
public:
    FakeSpinner(int minimum, int maximum) : min_(minimum), max_(maximum), value_(minimum) {}

    int value() const override { return value_; }
    void setValue(int v) override {
        v = std::clamp(v, min_, max_);
        if (v == value_) return;
        value_ = v;
        if (onChange_) onChange_();
    }
    int minimum() const override { return min_; }
    int maximum() const override { return max_; }
    void setChangeHandler(std::function<void()> handler) override { onChange_ = std::move(handler); }

private:
    int min_;
    int max_;
    int value_;
    std::function<void()> onChange_;
};

class FakeCheckBox : public CheckBox {
public:
    bool checked = false;
    bool isChecked() const override { return checked; }
};

class FakeTimer : public Timer {
public:
    bool enabled = true; // enabled in the window's design until start-up disables it
    std::chrono::milliseconds interval{1000};
    std::function<void()> onTick;
    void setEnabled(bool e) override { enabled = e; }
    void setInterval(std::chrono::milliseconds i) override { interval = i; }
    void setTickHandler(std::function<void()> handler) override { onTick = std::move(handler); }
    // One tick, if the timer runs.
    void tick() {
        if (enabled && onTick) onTick();
    }
};

// What the display shows: the bar's level while it is on, and the note while it shows.
class FakeAnnouncer : public Announcer {
public:
    std::vector<std::string> said;
    void announce(const std::string& text) override { said.push_back(text); }
};

class FakeLevelDisplay : public LevelDisplay {
public:
    std::optional<double> level;
    std::optional<std::string> note;
    int notesShown = 0;
    bool clipMark = false;
    void setLevel(double dbfs) override { level = dbfs; }
    void showClipMark() override { clipMark = true; }
    void clear() override {
        level.reset();
        clipMark = false;
    }
    void showNote(const std::string& text) override {
        note = text;
        ++notesShown;
    }
    void hideNote() override { note.reset(); }
};

class FakePictureButton : public PictureButton {
public:
    std::vector<std::string> shown; // every picture handed over, "" for no picture
    MouseHandlers mouse;
    std::string status;
    std::string current() const { return shown.empty() ? "" : shown.back(); }
    void setPicture(const Picture& picture) override { shown.push_back(picture ? picture.name : ""); }
    void setMouseHandlers(MouseHandlers handlers) override { mouse = std::move(handlers); }
    void setStatusText(const std::string& s) override { status = s; }
    // At pixels from the button's corner.
    void down(int button = kLeftButton, double x = 7, double y = 7) { mouse.down(button, x, y); }
    void move(int button, double x, double y) { mouse.move(button, x, y); }
    void up(int button = kLeftButton, double x = 7, double y = 7) { mouse.up(button, x, y); }
    // A press and release in the middle of the button.
    void click() {
        down();
        up();
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
    std::vector<std::string> shownAs; // "save" or "open", for each showing

    void configure(const FileDialogSetup& s) override { setup = s; }
    std::optional<std::string> showSave() override { return show("save"); }
    std::optional<std::string> showOpen() override { return show("open"); }
    void answer(std::optional<std::string> path, std::function<void()> whileOpen = {}) {
        answers.push_back({std::move(path), std::move(whileOpen)});
    }

private:
    std::optional<std::string> show(const char* kind) {
        shownAs.emplace_back(kind);
        if (answers.empty()) return std::nullopt;
        Answer next = std::move(answers.front());
        answers.pop_front();
        if (next.whileOpen) next.whileOpen();
        return next.path;
    }
};

// The panel's menu: notes the parts of each showing, and answers with the entry the test chose.
class FakeChoiceMenu : public ChoiceMenu {
public:
    std::function<void()> onOpen;
    std::vector<std::vector<MenuPart>> shown; // the parts of every showing
    std::string toolTip;

    void setOpenHandler(std::function<void()> handler) override { onOpen = std::move(handler); }
    void setToolTip(const std::string& text) override { toolTip = text; }
    std::optional<MenuChoice> show(const std::vector<MenuPart>& parts) override {
        shown.push_back(parts);
        const auto wanted = std::exchange(wanted_, std::nullopt);
        if (!wanted) return std::nullopt;
        for (std::size_t p = 0; p < parts.size(); ++p) {
            if (parts[p].heading != wanted->first) continue;
            const auto& entries = parts[p].entries;
            const auto entry = std::find(entries.begin(), entries.end(), wanted->second);
            if (entry != entries.end()) return MenuChoice{p, static_cast<std::size_t>(entry - entries.begin())};
        }
        return std::nullopt;
    }

    // The user opens the menu and closes it without a choice.
    void open() {
        if (onOpen) onOpen();
    }
    // The user opens the menu and chooses the entry `text` under `heading`, which must be there.
    void choose(const std::string& heading, const std::string& text) {
        wanted_ = {heading, text};
        open();
    }
    // The part headed `heading` of the last showing; empty when there was none.
    MenuPart part(const std::string& heading) const {
        if (shown.empty()) return {};
        for (const MenuPart& p : shown.back())
            if (p.heading == heading) return p;
        return {};
    }

private:
    std::optional<std::pair<std::string, std::string>> wanted_;
};

} // namespace murmora::fakes
