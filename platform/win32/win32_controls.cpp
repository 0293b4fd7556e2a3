#include "platform/win32/win32_controls.h"

#include <algorithm>
#include <map>

namespace murmora::win32 {

namespace {

std::map<UINT_PTR, Win32Timer*>& runningTimers() {
    static std::map<UINT_PTR, Win32Timer*> timers;
    return timers;
}

} // namespace

void Win32Timer::setEnabled(bool enabled) {
    // Enabling a running timer leaves its interval running, as disabling a stopped one does nothing.
    if (enabled && id_ == 0) {
        id_ = SetTimer(nullptr, 0, intervalMs_, &Win32Timer::onTimer);
        if (id_) runningTimers()[id_] = this;
    } else if (!enabled && id_ != 0) {
        KillTimer(nullptr, id_);
        runningTimers().erase(id_);
        id_ = 0;
    }
}

void Win32Timer::setInterval(std::chrono::milliseconds interval) {
    intervalMs_ = static_cast<UINT>(interval.count());
    // A running timer takes the new interval at once: the same id is set again.
    if (id_ != 0) SetTimer(nullptr, id_, intervalMs_, &Win32Timer::onTimer);
}

void CALLBACK Win32Timer::onTimer(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = runningTimers().find(id);
    if (found != runningTimers().end() && found->second->onTick_) found->second->onTick_();
}

Win32TextBox::Win32TextBox(HWND edit)
    : edit_(edit), previous_(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC))) {
    SetWindowLongPtrW(edit_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TextBox::editProc));
}

Win32TextBox::~Win32TextBox() {
    if (!IsWindow(edit_)) return;
    SetWindowLongPtrW(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    SetWindowLongPtrW(edit_, GWLP_USERDATA, 0);
}

LRESULT CALLBACK Win32TextBox::editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Win32TextBox*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
    return self->handle(message, wParam, lParam);
}

LRESULT Win32TextBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto passOn = [&] { return CallWindowProcW(previous_, edit_, message, wParam, lParam); };
    switch (message) {
    case WM_GETDLGCODE:
        // Return is the box's own while it finishes an edit; else the dialog's.
        if (onEditFinished_ && wParam == VK_RETURN) return passOn() | DLGC_WANTALLKEYS;
        return passOn();
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && onEditFinished_) {
            onEditFinished_();
            return 0;
        }
        if ((wParam == VK_UP || wParam == VK_DOWN) && onStep_) {
            onStep_(wParam == VK_UP ? 1 : -1);
            return 0;
        }
        return passOn();
    case WM_CHAR:
        if (wParam == L'\r' && onEditFinished_) return 0; // no beep for the Return already taken
        return passOn();
    case WM_KILLFOCUS: {
        // Not while the window goes: the rules that listen may be gone already.
        const LRESULT result = passOn();
        if (onEditFinished_ && IsWindowVisible(edit_)) onEditFinished_();
        return result;
    }
    default:
        return passOn();
    }
}

std::string Win32TextBox::text() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

Win32Spinner::Win32Spinner(HWND bar, int minimum, int maximum) : bar_(bar), minimum_(minimum), maximum_(maximum) {
    SetScrollRange(bar_, SB_CTL, -maximum, -minimum, FALSE);
    SetScrollPos(bar_, SB_CTL, -minimum, TRUE);
    SetWindowLongPtrW(bar_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32Spinner::setValue(int value) { moveTo(-std::clamp(value, minimum_, maximum_)); }

void Win32Spinner::moveTo(int position) {
    position = std::clamp(position, -maximum_, -minimum_);
    if (position == GetScrollPos(bar_, SB_CTL)) return;
    SetScrollPos(bar_, SB_CTL, position, TRUE);
    if (onChange_) onChange_();
}

void Win32Spinner::onScroll(WPARAM request) {
    const int position = GetScrollPos(bar_, SB_CTL);
    switch (LOWORD(request)) {
    case SB_LINEUP:
    case SB_PAGEUP:
        moveTo(position - 1);
        break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        moveTo(position + 1);
        break;
    case SB_TOP:
        moveTo(-maximum_);
        break;
    case SB_BOTTOM:
        moveTo(-minimum_);
        break;
    case SB_THUMBPOSITION:
        // A dragged thumb reports its place once, when it is let go.
        moveTo(static_cast<short>(HIWORD(request)));
        break;
    default:
        break;
    }
}

} // namespace murmora::win32
