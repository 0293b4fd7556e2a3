#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/focus_mark.h"
#include "platform/level_display.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_owned_window.h"
#include "platform/win32/win32_panel_layout.h"

namespace murmora::win32 {

class Win32PanelWindow;

// A text of the panel's display, drawn by the panel on its skin.
class PanelLabel final : public Label {
public:
    PanelLabel(Win32PanelWindow& panel, const panel_layout::Box& place) : panel_(panel), place_(toRect(place)) {}
    void setCaption(const std::string& caption) override;
    void setLeft(int pixels) override;
    const std::wstring& caption() const { return caption_; }
    const RECT& place() const { return place_; }

private:
    Win32PanelWindow& panel_;
    RECT place_;
    std::wstring caption_;
};

// A picture button drawn by the panel. See-through buttons show their picture's key colour
// RGB(190, 190, 190) as transparent, so the skin shows through. The mouse is reported in pixels
// from the button's top-left corner; after a press the button keeps the mouse until the last
// button is let go. Screen readers know it by its name, as a push button.
class PanelButton final : public PictureButton {
public:
    PanelButton(Win32PanelWindow& panel, const panel_layout::ButtonPlace& place);
    void setPicture(const Picture& picture) override;
    void setMouseHandlers(MouseHandlers handlers) override { handlers_ = std::move(handlers); }
    void setStatusText(const std::string& status) override;
    const Picture& shown() const { return shown_; }
    const RECT& place() const { return place_; }
    const MouseHandlers& handlers() const { return handlers_; }
    const std::wstring& name() const { return name_; }
    const std::wstring& status() const { return status_; }
    // The pixels of the button its picture covers, where the focus mark goes around.
    PixelBox pictureBox() const;

private:
    Win32PanelWindow& panel_;
    RECT place_;
    bool seeThrough_;
    std::wstring name_;
    Picture shown_;
    MouseHandlers handlers_;
    std::wstring status_;
};

// The input level on the display, drawn by the panel: a bar in the display's ink whose whole
// width is 0 dBFS, a red clip mark beyond its right end, and a note over the lower display in
// reversed colours.
class PanelLevelDisplay final : public LevelDisplay {
public:
    static constexpr RECT kBarPlace = toRect(panel_layout::kLevelBar);
    static constexpr RECT kClipPlace = toRect(panel_layout::kClipMark);
    static constexpr RECT kNotePlace = toRect(panel_layout::kNote);
    // The note's text, inside its reversed box, broken between words.
    static constexpr RECT kNoteTextPlace{kNotePlace.left + 2, kNotePlace.top + 1, kNotePlace.right - 1,
                                         kNotePlace.bottom - 1};
    static constexpr UINT kNoteTextFormat = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;

    explicit PanelLevelDisplay(Win32PanelWindow& panel) : panel_(panel) {}
    void setLevel(double dbfs) override;
    void showClipMark() override;
    void clear() override;
    void showNote(const std::string& text) override;
    void hideNote() override;
    std::optional<int> barPixels() const;
    bool clipMarkShown() const { return clipMark_; }
    const std::wstring& note() const { return note_; }
    // What screen readers read of the level; empty while no take records.
    std::wstring reading() const;

private:
    Win32PanelWindow& panel_;
    std::optional<double> dbfs_; // none while no take records
    bool clipMark_ = false;
    std::wstring note_;
};

class Win32PanelAccessible;

// The record panel: a popup window without a frame, painted with its skin, its picture buttons
// and its display texts where platform/panel_layout.h puts them. A press on a free spot moves the window.
//
// The keyboard works its buttons as it does on Linux: Tab and Shift+Tab (and the arrows) go round
// them in reading order from the record button; Space held and let go, Enter, and a screen
// reader's default action are a left press and release in the middle of the focused button (the
// last two with the pressed picture for a tenth of a second); Escape, or the focus leaving the
// panel, gives up a held Space as a move off the button. Once the keyboard is used, the focused
// button wears the focus mark (platform/focus_mark.h). Screen readers read the buttons through
// MSAA (WM_GETOBJECT): the panel's client is a list of seven push buttons.
class Win32PanelWindow {
public:
    Win32PanelWindow();
    ~Win32PanelWindow();
    Win32PanelWindow(const Win32PanelWindow&) = delete;
    Win32PanelWindow& operator=(const Win32PanelWindow&) = delete;

    HWND handle() const { return window_; }
    // The font the display's texts are drawn in.
    HFONT displayFont() const { return font_; }
    HFONT noteFont() const { return noteFont_; }
    void setBackground(Picture skin);
    void repaint(const RECT& place) { InvalidateRect(window_, &place, FALSE); }
    void show();

    static constexpr int kButtonCount = 7;
    // The picture buttons in reading order (0 to kButtonCount - 1): the order of Tab.
    PanelButton& buttonInReadingOrder(int index) const { return *readingOrder_.at(static_cast<std::size_t>(index)); }
    int focusedButton() const { return focused_; }
    bool hasKeyboardFocus() const { return GetFocus() == window_; }
    // The button that wears the focus mark, if any.
    const PanelButton* markedButton() const;
    void focusButton(int index);
    // A click of the button as Enter gives it: pressed now, released a tenth of a second later.
    void clickButton(int index);
    // Whether the button is held down by the keyboard or a screen reader.
    bool isHeldDown(const PanelButton& button) const { return &button == keyHeld_ || &button == clicking_; }
    // Tells screen readers that the button's state or description changed.
    void tellChanged(const PanelButton& button);

    // Runs when the window system closes the window (Alt+F4, the taskbar's Close).
    std::function<void()> onSystemClose;
    // Runs when the Windows session ends.
    std::function<void()> onSessionEnd;
    // Runs when the user asks for the menu, with the point on the screen it opens at: a click of
    // the right button on a free spot (a right-button drag moves the panel instead), the menu key
    // or Shift+F10 (by the panel's middle).
    std::function<void(POINT)> onMenuAsked;

    PanelButton recordButton;
    PanelButton minimizeButton;
    PanelButton closeButton;
    PanelButton stopButton;
    PanelButton convertButton;
    PanelButton playButton;
    PanelButton scheduleButton;
    PanelLabel secondsLabel;
    PanelLabel sizeLabel;
    PanelLabel copyrightLabel;
    PanelLabel versionLabel;
    PanelLabel scheduleCaptionLabel;
    PanelLabel scheduleTimeLabel;
    Win32Timer elapsedTimer;
    Win32Timer scheduleStartTimer;
    Win32Timer scheduledStopTimer;
    Win32Timer levelTimer;
    PanelLevelDisplay levelDisplay{*this};
    Win32FileDialog saveTakeDialog;
    Win32FileDialog convertDialog;
    Win32Timer saveProgressTimer;
    Win32ProgressWindow saveProgress;

private:
    template <typename Owner>
    friend LRESULT CALLBACK ownedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void paintTo(HDC target);
    void paintLevel(HDC canvas) const;
    void paintFocusMark(HDC canvas) const;
    void repaintFocusMark();
    void onKeyDown(WPARAM key, LPARAM flags);
    void onKeyUp(WPARAM key);
    // A Space press that ends without a click: the button is told the pointer moved off it.
    void giveUpKeyPress();
    void finishClick();
    // The object WM_GETOBJECT hands a screen reader for the panel's client.
    LRESULT accessibleObject(WPARAM flags);
    void onPress(int button, POINT at);
    void onMove(WPARAM held, POINT at);
    void onRelease(int button, WPARAM held, POINT at);
    void askForMenuByTheMiddle();
    PanelButton* buttonAt(POINT at);
    bool onLabel(POINT at) const;
    void report(const MouseHandler& handler, const PanelButton& button, int buttons, POINT at) const;

    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    HFONT noteFont_ = nullptr;
    Picture skin_;
    PanelButton* pressed_ = nullptr;  // the button that has the mouse
    std::optional<POINT> dragOffset_; // where the pointer holds the window, while moved by hand
    // Where the right button went down on a free spot, on the screen, until it moves too far for a click.
    std::optional<POINT> menuPressAt_;
    std::array<PanelButton*, kButtonCount> readingOrder_;
    int focused_ = 1; // the record button
    bool keyboardUsed_ = false;
    PanelButton* keyHeld_ = nullptr;             // held down with Space
    PanelButton* clicking_ = nullptr;            // clicked with Enter or by a screen reader, until released
    Win32PanelAccessible* accessible_ = nullptr; // made at a screen reader's first question
};

// The panel window of a Murmora that runs in this session already; nullptr when there is none.
HWND findRunningPanel();
// The message that asks the panel to come to the front (from a later start).
UINT bringToFrontMessage();

} // namespace murmora::win32
