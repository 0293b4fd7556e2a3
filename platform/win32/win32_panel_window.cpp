#include "platform/win32/win32_panel_window.h"
#include "platform/win32/win32_texts.h"

#include <objidl.h>
#include <windowsx.h>

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "platform/level.h"
#include "platform/win32/win32_panel_accessible.h"
#include "platform/win32/win32_picture.h"

namespace murmora::win32 {

namespace {

const wchar_t* const kPanelClass = L"MurmoraPanel";
bool inside(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

void registerPanelClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, L"MURMORA");
    windowClass.lpszClassName = kPanelClass;
    RegisterClassExW(&windowClass);
}

POINT pointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

POINT middleOf(const PanelButton& button) {
    const RECT& r = button.place();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Enter and a screen reader's default action show the pressed picture this long.
constexpr UINT_PTR kClickTimer = 1;
constexpr UINT kClickMs = 100;

int buttonSet(WPARAM held) {
    return ((held & MK_LBUTTON) ? kLeftButton : 0) | ((held & MK_RBUTTON) ? kRightButton : 0) |
           ((held & MK_MBUTTON) ? kMiddleButton : 0);
}

} // namespace

void PanelLabel::setCaption(const std::string& caption) {
    caption_ = toWide(caption);
    panel_.repaint(place_);
}

void PanelLabel::setLeft(int pixels) {
    panel_.repaint(place_);
    OffsetRect(&place_, pixels - place_.left, 0);
    panel_.repaint(place_);
}

PanelButton::PanelButton(Win32PanelWindow& panel, const panel_layout::ButtonPlace& place)
    : panel_(panel), place_(toRect(place.box)), seeThrough_(place.seeThrough), name_(uiText(place.accessibleName)) {}

void PanelButton::setPicture(const Picture& picture) {
    shown_ = seeThrough_ ? withKeyColourTransparent(picture) : picture;
    panel_.repaint(place_);
}

void PanelButton::setStatusText(const std::string& status) {
    const std::wstring text = toWide(status);
    if (text == status_) return;
    status_ = text;
    panel_.tellChanged(*this);
}

PixelBox PanelButton::pictureBox() const {
    const int width = place_.right - place_.left;
    const int height = place_.bottom - place_.top;
    const Win32PictureData* image = imageOf(shown_);
    if (!image) return {0, 0, width, height};
    const PixelBox box = opaqueBox(std::min(image->width, width), std::min(image->height, height), [&](int x, int y) {
        return (image->pixels[static_cast<std::size_t>(y * image->width + x)] >> 24) != 0;
    });
    return box.empty() ? PixelBox{0, 0, width, height} : box;
}

Win32PanelWindow::Win32PanelWindow()
    : recordButton(*this, panel_layout::kRecordButton), minimizeButton(*this, panel_layout::kMinimizeButton),
      closeButton(*this, panel_layout::kCloseButton), stopButton(*this, panel_layout::kStopButton),
      convertButton(*this, panel_layout::kConvertButton), playButton(*this, panel_layout::kPlayButton),
      scheduleButton(*this, panel_layout::kScheduleButton), secondsLabel(*this, panel_layout::kSecondsLabel),
      sizeLabel(*this, panel_layout::kSizeLabel), copyrightLabel(*this, panel_layout::kCopyrightLabel),
      versionLabel(*this, panel_layout::kVersionLabel),
      scheduleCaptionLabel(*this, panel_layout::kScheduleCaptionLabel),
      scheduleTimeLabel(*this, panel_layout::kScheduleTimeLabel), readingOrder_{&minimizeButton, &recordButton,
                                                                                &closeButton,    &stopButton,
                                                                                &convertButton,  &playButton,
                                                                                &scheduleButton} {
    registerPanelClass(&ownedWindowProc<Win32PanelWindow>);
    // WS_MINIMIZEBOX and WS_SYSMENU: the taskbar can minimize, restore and close the panel.
    window_ = CreateWindowExW(WS_EX_APPWINDOW, kPanelClass, L"Murmora", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU,
                              panel_layout::kWindow.left, panel_layout::kWindow.top, panel_layout::kWindow.width,
                              panel_layout::kWindow.height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    font_ = designFont(panel_layout::kDisplayFontPoints);
    noteFont_ = designFont(panel_layout::kNoteFontPoints);
}

Win32PanelWindow::~Win32PanelWindow() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
    if (noteFont_) DeleteObject(noteFont_);
    if (accessible_) {
        accessible_->disconnect();
        accessible_->Release();
    }
}

void Win32PanelWindow::setBackground(Picture skin) {
    skin_ = std::move(skin);
    InvalidateRect(window_, nullptr, FALSE);
}

void Win32PanelWindow::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

LRESULT Win32PanelWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == bringToFrontMessage()) {
        // Shown again if minimized, then the window the user works in comes to the front: the
        // panel, or the window it owns while one is open (the schedule window, a message box).
        if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
        const HWND front = GetLastActivePopup(window_);
        BringWindowToTop(front);
        SetForegroundWindow(front);
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_LBUTTONDOWN:
        onPress(kLeftButton, pointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        onPress(kRightButton, pointOf(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        onPress(kMiddleButton, pointOf(lParam));
        return 0;
    case WM_MOUSEMOVE:
        onMove(wParam, pointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        onRelease(kLeftButton, wParam, pointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        onRelease(kRightButton, wParam, pointOf(lParam));
        return 0;
    case WM_MBUTTONUP:
        onRelease(kMiddleButton, wParam, pointOf(lParam));
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse (a message box): the press is over without a release.
        if (reinterpret_cast<HWND>(lParam) != window_) {
            pressed_ = nullptr;
            dragOffset_.reset();
            menuPressAt_.reset();
        }
        return 0;
    case WM_CLOSE:
        if (onSystemClose) onSystemClose();
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The process ends once this returns: a take is kept for the next start, not asked about.
        if (wParam && onSessionEnd) onSessionEnd();
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wParam, lParam);
        return 0;
    case WM_KEYUP:
        onKeyUp(wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam != VK_F10 || GetKeyState(VK_SHIFT) >= 0) break;
        askForMenuByTheMiddle();
        return 0;
    case WM_CONTEXTMENU:
        if (lParam != -1) break; // the mouse's own asks are the click of onRelease
        askForMenuByTheMiddle();
        return 0;
    case WM_SETFOCUS:
        repaintFocusMark();
        return 0;
    case WM_KILLFOCUS:
        giveUpKeyPress();
        repaintFocusMark();
        return 0;
    case WM_TIMER:
        if (wParam != kClickTimer) break;
        finishClick();
        return 0;
    case WM_PRINTCLIENT:
        paintTo(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT)) return accessibleObject(wParam);
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Win32PanelWindow::accessibleObject(WPARAM flags) {
    if (!accessible_) accessible_ = new Win32PanelAccessible(*this);
    return LresultFromObject(__uuidof(IAccessible), flags, accessible_);
}

const PanelButton* Win32PanelWindow::markedButton() const {
    return keyboardUsed_ && hasKeyboardFocus() ? readingOrder_[static_cast<std::size_t>(focused_)] : nullptr;
}

void Win32PanelWindow::repaintFocusMark() {
    RECT around = buttonInReadingOrder(focused_).place();
    const int reach = static_cast<int>(std::ceil(kFocusRingGapPixels + kFocusRingPenPixels));
    InflateRect(&around, reach, reach);
    InvalidateRect(window_, &around, FALSE);
}

void Win32PanelWindow::focusButton(int index) {
    giveUpKeyPress();
    repaintFocusMark();
    focused_ = (index % kButtonCount + kButtonCount) % kButtonCount;
    repaintFocusMark();
    if (hasKeyboardFocus()) NotifyWinEvent(EVENT_OBJECT_FOCUS, window_, OBJID_CLIENT, focused_ + 1);
}

void Win32PanelWindow::clickButton(int index) {
    if (keyHeld_ || clicking_) return;
    focusButton(index);
    clicking_ = readingOrder_[static_cast<std::size_t>(focused_)];
    tellChanged(*clicking_);
    report(clicking_->handlers().down, *clicking_, kLeftButton, middleOf(*clicking_));
    SetTimer(window_, kClickTimer, kClickMs, nullptr);
}

void Win32PanelWindow::finishClick() {
    KillTimer(window_, kClickTimer);
    PanelButton* const clicked = std::exchange(clicking_, nullptr);
    if (!clicked) return;
    tellChanged(*clicked);
    report(clicked->handlers().up, *clicked, kLeftButton, middleOf(*clicked));
}

void Win32PanelWindow::onKeyDown(WPARAM key, LPARAM flags) {
    const bool repeated = (flags & (1 << 30)) != 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (!keyboardUsed_) {
        keyboardUsed_ = true;
        repaintFocusMark();
    }
    switch (key) {
    case VK_TAB:
        focusButton(focused_ + (shift ? -1 : 1));
        break;
    case VK_LEFT:
    case VK_UP:
        focusButton(focused_ - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        focusButton(focused_ + 1);
        break;
    case VK_SPACE:
        if (repeated || keyHeld_ || clicking_) break;
        keyHeld_ = readingOrder_[static_cast<std::size_t>(focused_)];
        tellChanged(*keyHeld_);
        report(keyHeld_->handlers().down, *keyHeld_, kLeftButton, middleOf(*keyHeld_));
        break;
    case VK_RETURN:
        if (!repeated) clickButton(focused_);
        break;
    case VK_ESCAPE:
        giveUpKeyPress();
        break;
    default:
        break;
    }
}

void Win32PanelWindow::askForMenuByTheMiddle() {
    RECT client{};
    GetClientRect(window_, &client);
    POINT middle{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
    ClientToScreen(window_, &middle);
    if (onMenuAsked) onMenuAsked(middle);
}

void Win32PanelWindow::onKeyUp(WPARAM key) {
    if (key == VK_APPS) askForMenuByTheMiddle();
    if (key != VK_SPACE || !keyHeld_) return;
    PanelButton* const released = std::exchange(keyHeld_, nullptr);
    tellChanged(*released);
    report(released->handlers().up, *released, kLeftButton, middleOf(*released));
}

void Win32PanelWindow::giveUpKeyPress() {
    PanelButton* const given = std::exchange(keyHeld_, nullptr);
    if (!given) return;
    tellChanged(*given);
    // One pixel up and to the left: off every button's active area.
    const POINT off{given->place().left - 1, given->place().top - 1};
    report(given->handlers().move, *given, kLeftButton, off);
}

void Win32PanelWindow::tellChanged(const PanelButton& button) {
    for (int i = 0; i < kButtonCount; ++i) {
        if (readingOrder_[static_cast<std::size_t>(i)] != &button) continue;
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window_, OBJID_CLIENT, i + 1);
        NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window_, OBJID_CLIENT, i + 1);
    }
}

void Win32PanelWindow::paint() {
    PAINTSTRUCT ps;
    const HDC target = BeginPaint(window_, &ps);
    paintTo(target);
    EndPaint(window_, &ps);
}

void Win32PanelWindow::paintTo(HDC target) {
    // Drawn off screen first, so the buttons never flicker over the skin.
    const HDC canvas = CreateCompatibleDC(target);
    const HBITMAP surface = CreateCompatibleBitmap(target, panel_layout::kWindow.width, panel_layout::kWindow.height);
    const HGDIOBJ previousSurface = SelectObject(canvas, surface);
    const HBRUSH backdrop = CreateSolidBrush(toColorRef(panel_layout::kBackdropRgb));
    const RECT all{0, 0, panel_layout::kWindow.width, panel_layout::kWindow.height};
    FillRect(canvas, &all, backdrop);
    DeleteObject(backdrop);
    if (const Win32PictureData* skin = imageOf(skin_)) drawPicture(canvas, *skin, 0, 0);
    for (const PanelButton* button :
         {&recordButton, &minimizeButton, &closeButton, &stopButton, &convertButton, &playButton, &scheduleButton}) {
        if (const Win32PictureData* image = imageOf(button->shown()))
            drawPicture(canvas, *image, button->place().left, button->place().top);
    }
    const HGDIOBJ previousFont = SelectObject(canvas, font_);
    SetBkMode(canvas, TRANSPARENT);
    SetTextColor(canvas, toColorRef(panel_layout::kDisplayInkRgb));
    for (const PanelLabel* label :
         {&secondsLabel, &sizeLabel, &copyrightLabel, &versionLabel, &scheduleCaptionLabel, &scheduleTimeLabel}) {
        RECT box = label->place();
        DrawTextW(canvas, label->caption().c_str(), static_cast<int>(label->caption().size()), &box,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    }
    paintLevel(canvas);
    paintFocusMark(canvas);
    SelectObject(canvas, previousFont);
    BitBlt(target, 0, 0, panel_layout::kWindow.width, panel_layout::kWindow.height, canvas, 0, 0, SRCCOPY);
    SelectObject(canvas, previousSurface);
    DeleteObject(surface);
    DeleteDC(canvas);
}

void Win32PanelWindow::paintFocusMark(HDC canvas) const {
    const PanelButton* button = markedButton();
    if (!button) return;
    const FocusRing ring = focusRingAround(button->pictureBox());
    const auto x = static_cast<Gdiplus::REAL>(button->place().left + ring.left);
    const auto y = static_cast<Gdiplus::REAL>(button->place().top + ring.top);
    const auto width = static_cast<Gdiplus::REAL>(ring.width);
    const auto height = static_cast<Gdiplus::REAL>(ring.height);
    const auto corner = static_cast<Gdiplus::REAL>(2 * ring.radius);
    Gdiplus::GraphicsPath outline;
    outline.AddArc(x, y, corner, corner, 180, 90);
    outline.AddArc(x + width - corner, y, corner, corner, 270, 90);
    outline.AddArc(x + width - corner, y + height - corner, corner, corner, 0, 90);
    outline.AddArc(x, y + height - corner, corner, corner, 90, 90);
    outline.CloseFigure();
    Gdiplus::Graphics graphics(canvas);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    // Pixel edges at whole numbers, as the ring's box has them.
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    const Gdiplus::Pen pen(
        Gdiplus::Color(255, (kFocusRingRgb >> 16) & 0xFF, (kFocusRingRgb >> 8) & 0xFF, kFocusRingRgb & 0xFF),
        static_cast<Gdiplus::REAL>(kFocusRingPenPixels));
    graphics.DrawPath(&pen, &outline);
}

void Win32PanelWindow::paintLevel(HDC canvas) const {
    const HBRUSH ink = CreateSolidBrush(toColorRef(panel_layout::kDisplayInkRgb));
    if (const auto pixels = levelDisplay.barPixels()) {
        RECT bar = PanelLevelDisplay::kBarPlace;
        bar.right = bar.left + *pixels;
        FillRect(canvas, &bar, ink);
    }
    if (levelDisplay.clipMarkShown()) {
        const HBRUSH red = CreateSolidBrush(toColorRef(panel_layout::kClipMarkRgb));
        FillRect(canvas, &PanelLevelDisplay::kClipPlace, red);
        DeleteObject(red);
    }
    if (!levelDisplay.note().empty()) {
        RECT note = PanelLevelDisplay::kNotePlace;
        const COLORREF green = GetPixel(canvas, (note.left + note.right) / 2, (note.top + note.bottom) / 2);
        FillRect(canvas, &note, ink);
        SetTextColor(canvas, green);
        const HGDIOBJ displayFont = SelectObject(canvas, noteFont_);
        RECT text = PanelLevelDisplay::kNoteTextPlace;
        DrawTextW(canvas, levelDisplay.note().c_str(), static_cast<int>(levelDisplay.note().size()), &text,
                  PanelLevelDisplay::kNoteTextFormat);
        SelectObject(canvas, displayFont);
    }
    DeleteObject(ink);
}

void PanelLevelDisplay::setLevel(double dbfs) {
    const int before = barPixels().value_or(0);
    dbfs_ = dbfs;
    const int after = *barPixels();
    if (after == before) return;
    // Only the pixels between the old end and the new: the rest of the bar stays as it is.
    RECT changed = kBarPlace;
    changed.left = kBarPlace.left + std::min(before, after);
    changed.right = kBarPlace.left + std::max(before, after);
    panel_.repaint(changed);
}

std::optional<int> PanelLevelDisplay::barPixels() const {
    if (!dbfs_) return std::nullopt;
    return levelBarLength(*dbfs_, kBarPlace.right - kBarPlace.left);
}

std::wstring PanelLevelDisplay::reading() const { return dbfs_ ? toWide(levelReading(*dbfs_, clipMark_)) : L""; }

void PanelLevelDisplay::showClipMark() {
    clipMark_ = true;
    panel_.repaint(kClipPlace);
}

void PanelLevelDisplay::clear() {
    dbfs_.reset();
    clipMark_ = false;
    panel_.repaint(kBarPlace);
    panel_.repaint(kClipPlace);
}

void PanelLevelDisplay::showNote(const std::string& text) {
    note_ = toWide(text);
    panel_.repaint(kNotePlace);
}

void PanelLevelDisplay::hideNote() {
    note_.clear();
    panel_.repaint(kNotePlace);
}

PanelButton* Win32PanelWindow::buttonAt(POINT at) {
    for (PanelButton* button :
         {&recordButton, &minimizeButton, &closeButton, &stopButton, &convertButton, &playButton, &scheduleButton}) {
        if (inside(button->place(), at)) return button;
    }
    return nullptr;
}

bool Win32PanelWindow::onLabel(POINT at) const {
    for (const PanelLabel* label :
         {&secondsLabel, &sizeLabel, &copyrightLabel, &versionLabel, &scheduleCaptionLabel, &scheduleTimeLabel}) {
        if (!label->caption().empty() && inside(label->place(), at)) return true;
    }
    return false;
}

void Win32PanelWindow::onPress(int button, POINT at) {
    if (!pressed_) pressed_ = buttonAt(at);
    if (pressed_) {
        SetCapture(window_);
        report(pressed_->handlers().down, *pressed_, button, at);
        return;
    }
    // A left press on a text belongs to the text: it does not move the window. The right button
    // there opens the menu, as on any free spot.
    if (button == kLeftButton && onLabel(at)) return;
    if (button == kLeftButton) {
        // The system moves the window as if its title bar were held.
        ReleaseCapture();
        SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return;
    }
    // The system's move follows the left button alone: with another, the window moves by hand.
    dragOffset_ = at;
    SetCapture(window_);
    menuPressAt_.reset();
    if (button != kRightButton) return;
    POINT onScreen = at;
    ClientToScreen(window_, &onScreen);
    menuPressAt_ = onScreen;
}

void Win32PanelWindow::onMove(WPARAM held, POINT at) {
    if (dragOffset_) {
        POINT onScreen = at;
        ClientToScreen(window_, &onScreen);
        if (menuPressAt_ && (std::abs(onScreen.x - menuPressAt_->x) >= GetSystemMetrics(SM_CXDRAG) ||
                             std::abs(onScreen.y - menuPressAt_->y) >= GetSystemMetrics(SM_CYDRAG)))
            menuPressAt_.reset();
        SetWindowPos(window_, nullptr, onScreen.x - dragOffset_->x, onScreen.y - dragOffset_->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    PanelButton* button = pressed_ ? pressed_ : buttonAt(at);
    if (button) report(button->handlers().move, *button, buttonSet(held), at);
}

void Win32PanelWindow::onRelease(int button, WPARAM held, POINT at) {
    const bool last = buttonSet(held) == 0;
    if (dragOffset_) {
        if (!last) return;
        dragOffset_.reset();
        const std::optional<POINT> menuAt = std::exchange(menuPressAt_, std::nullopt);
        ReleaseCapture();
        if (menuAt && button == kRightButton && onMenuAsked) onMenuAsked(*menuAt);
        return;
    }
    PanelButton* const released = pressed_;
    if (!released) return;
    if (last) {
        pressed_ = nullptr;
        ReleaseCapture();
    }
    report(released->handlers().up, *released, button, at);
}

void Win32PanelWindow::report(const MouseHandler& handler, const PanelButton& button, int buttons, POINT at) const {
    if (!handler) return;
    handler(buttons, at.x - button.place().left, at.y - button.place().top);
}

HWND findRunningPanel() { return FindWindowW(kPanelClass, L"Murmora"); }

UINT bringToFrontMessage() {
    static const UINT message = RegisterWindowMessageW(L"io.github.murmora.Murmora.bringToFront");
    return message;
}

} // namespace murmora::win32
