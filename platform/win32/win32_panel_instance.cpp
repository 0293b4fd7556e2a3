#include "platform/win32/win32_panel_instance.h"

#include "platform/win32/win32_panel_window.h"

namespace murmora::win32 {

namespace {

// In the "Local" namespace: one mutex for each session of a user.
const wchar_t* const kPanelMutex = L"Local\\io.github.murmora.Murmora.panel";
// How long a later start waits for the first panel's window: it may still be starting.
constexpr int kWindowWaitMs = 5000;
constexpr int kWindowPollMs = 50;

// Asks the panel to come to the front. The later start, which the user has just started, may
// make a window the foreground window, and hands that right to the panel's process.
void bringToFront(HWND panel) {
    DWORD process = 0;
    GetWindowThreadProcessId(panel, &process);
    AllowSetForegroundWindow(process);
    PostMessageW(panel, bringToFrontMessage(), 0, 0);
}

} // namespace

Win32PanelInstance::~Win32PanelInstance() {
    if (mutex_) CloseHandle(mutex_);
}

bool Win32PanelInstance::claim() {
    mutex_ = CreateMutexW(nullptr, FALSE, kPanelMutex);
    if (!mutex_ || GetLastError() != ERROR_ALREADY_EXISTS) return true;
    for (int waited = 0; waited < kWindowWaitMs; waited += kWindowPollMs) {
        if (const HWND panel = findRunningPanel()) {
            bringToFront(panel);
            break;
        }
        Sleep(kWindowPollMs);
    }
    return false;
}

} // namespace murmora::win32
