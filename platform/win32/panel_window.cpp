#include "platform/win32/panel_window.h"

#include <windowsx.h>

#include <cmath>

#include "platform/level.h"
#include "platform/win32/win32_picture.h"

namespace murmora {

namespace {

const wchar_t* const kPanelClass = L"MurmoraPanel";
// The panel's dark rim, behind whatever the skin does not cover.
const COLORREF kPanelBackdrop = RGB(18, 20, 23);
// Dark lettering for the green display area of the skin.
const COLORREF kDisplayText = RGB(28, 40, 24);
// The display is tight: "©" and the short name must end before the disc.
constexpr int kDisplayFontPoints = 7;

RECT place(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

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

void PanelButton::setPicture(const Picture& picture) {
    shown_ = seeThrough_ ? withKeyColourTransparent(picture) : picture;
    panel_.repaint(place_);
}

PanelWindow::PanelWindow(const ScreenMetrics& screen)
    : recordButton(*this, place(31, 8, 100, 21), false), minimizeButton(*this, place(9, 8, 25, 25), true),
      closeButton(*this, place(136, 8, 25, 25), true), stopButton(*this, place(104, 64, 55, 55), true),
      convertButton(*this, place(64, 110, 55, 55), true), playButton(*this, place(144, 110, 55, 55), true),
      scheduleButton(*this, place(104, 155, 55, 55), true), secondsLabel(*this, place(10, 67, 81, 17)),
      sizeLabel(*this, place(10, 51, 105, 17)), copyrightLabel(*this, place(10, 136, 65, 17)),
      versionLabel(*this, place(10, 152, 49, 17)), scheduleCaptionLabel(*this, place(10, 88, 57, 17)),
      scheduleTimeLabel(*this, place(10, 104, 49, 33)), screen_(screen) {
    registerPanelClass(&PanelWindow::windowProc);
    // WS_MINIMIZEBOX and WS_SYSMENU: the taskbar can minimize, restore and close the panel.
    window_ =
        CreateWindowExW(WS_EX_APPWINDOW, kPanelClass, L"Murmora", WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU, kPanelLeft,
                        kPanelTop, kPanelWidth, kPanelHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    const HDC screenDc = GetDC(nullptr);
    font_ = CreateFontW(-MulDiv(kDisplayFontPoints, GetDeviceCaps(screenDc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0,
                        0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
    ReleaseDC(nullptr, screenDc);
}

PanelWindow::~PanelWindow() {
    if (window_) DestroyWindow(window_);
    if (font_) DeleteObject(font_);
}

void PanelWindow::setBackground(Picture skin) {
    skin_ = std::move(skin);
    InvalidateRect(window_, nullptr, FALSE);
}

void PanelWindow::show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

LRESULT CALLBACK PanelWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<PanelWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->handle(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT PanelWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
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
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void PanelWindow::paint() {
    PAINTSTRUCT ps;
    const HDC target = BeginPaint(window_, &ps);
    // Drawn off screen first, so the buttons never flicker over the skin.
    const HDC canvas = CreateCompatibleDC(target);
    const HBITMAP surface = CreateCompatibleBitmap(target, kPanelWidth, kPanelHeight);
    const HGDIOBJ previousSurface = SelectObject(canvas, surface);
    const HBRUSH backdrop = CreateSolidBrush(kPanelBackdrop);
    const RECT all{0, 0, kPanelWidth, kPanelHeight};
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
    SetTextColor(canvas, kDisplayText);
    for (const PanelLabel* label :
         {&secondsLabel, &sizeLabel, &copyrightLabel, &versionLabel, &scheduleCaptionLabel, &scheduleTimeLabel}) {
        RECT box = label->place();
        DrawTextW(canvas, label->caption().c_str(), static_cast<int>(label->caption().size()), &box,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    }
    paintLevel(canvas);
    SelectObject(canvas, previousFont);
    BitBlt(target, 0, 0, kPanelWidth, kPanelHeight, canvas, 0, 0, SRCCOPY);
    SelectObject(canvas, previousSurface);
    DeleteObject(surface);
    DeleteDC(canvas);
    EndPaint(window_, &ps);
}

void PanelWindow::paintLevel(HDC canvas) const {
    const HBRUSH ink = CreateSolidBrush(kDisplayText);
    if (const auto pixels = levelDisplay.barPixels()) {
        RECT bar = PanelLevelDisplay::kBarPlace;
        bar.right = bar.left + *pixels;
        FillRect(canvas, &bar, ink);
    }
    if (levelDisplay.clipMarkShown()) {
        const HBRUSH red = CreateSolidBrush(PanelLevelDisplay::kClipColour);
        FillRect(canvas, &PanelLevelDisplay::kClipPlace, red);
        DeleteObject(red);
    }
    if (!levelDisplay.note().empty()) {
        RECT note = PanelLevelDisplay::kNotePlace;
        const COLORREF green = GetPixel(canvas, (note.left + note.right) / 2, (note.top + note.bottom) / 2);
        FillRect(canvas, &note, ink);
        SetTextColor(canvas, green);
        RECT text{note.left + 2, note.top + 1, note.right - 1, note.bottom - 1};
        DrawTextW(canvas, levelDisplay.note().c_str(), static_cast<int>(levelDisplay.note().size()), &text,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    }
    DeleteObject(ink);
}

void PanelLevelDisplay::setLevel(double dbfs) {
    const int width = kBarPlace.right - kBarPlace.left;
    barPixels_ = static_cast<int>(std::lround(levelScaleFraction(dbfs) * width));
    panel_.repaint(kBarPlace);
}

void PanelLevelDisplay::showClipMark() {
    clipMark_ = true;
    panel_.repaint(kClipPlace);
}

void PanelLevelDisplay::clear() {
    barPixels_.reset();
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

PanelButton* PanelWindow::buttonAt(POINT at) {
    for (PanelButton* button :
         {&recordButton, &minimizeButton, &closeButton, &stopButton, &convertButton, &playButton, &scheduleButton}) {
        if (inside(button->place(), at)) return button;
    }
    return nullptr;
}

bool PanelWindow::onLabel(POINT at) const {
    for (const PanelLabel* label :
         {&secondsLabel, &sizeLabel, &copyrightLabel, &versionLabel, &scheduleCaptionLabel, &scheduleTimeLabel}) {
        if (!label->caption().empty() && inside(label->place(), at)) return true;
    }
    return false;
}

void PanelWindow::onPress(int button, POINT at) {
    if (!pressed_) pressed_ = buttonAt(at);
    if (pressed_) {
        SetCapture(window_);
        report(pressed_->handlers().down, *pressed_, button, at);
        return;
    }
    // A press on a text belongs to the text: it does not move the window.
    if (onLabel(at)) return;
    if (button == kLeftButton) {
        // The system moves the window as if its title bar were held.
        ReleaseCapture();
        SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        return;
    }
    // The system's move follows the left button alone: with another, the window moves by hand.
    dragOffset_ = at;
    SetCapture(window_);
}

void PanelWindow::onMove(WPARAM held, POINT at) {
    if (dragOffset_) {
        POINT onScreen = at;
        ClientToScreen(window_, &onScreen);
        SetWindowPos(window_, nullptr, onScreen.x - dragOffset_->x, onScreen.y - dragOffset_->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    PanelButton* button = pressed_ ? pressed_ : buttonAt(at);
    if (button) report(button->handlers().move, *button, buttonSet(held), at);
}

void PanelWindow::onRelease(int button, WPARAM held, POINT at) {
    const bool last = buttonSet(held) == 0;
    if (dragOffset_) {
        if (!last) return;
        dragOffset_.reset();
        ReleaseCapture();
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

void PanelWindow::report(const MouseHandler& handler, const PanelButton& button, int buttons, POINT at) const {
    if (!handler) return;
    handler(buttons, static_cast<float>((at.x - button.place().left) * screen_.twipsPerPixelX()),
            static_cast<float>((at.y - button.place().top) * screen_.twipsPerPixelY()));
}

} // namespace murmora
