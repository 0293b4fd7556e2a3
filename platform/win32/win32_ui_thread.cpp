#include "platform/win32/win32_ui_thread.h"

#include <memory>

namespace murmora::win32 {

namespace {

const wchar_t* const kWindowClass = L"MurmoraUiThread";
constexpr UINT kRunWork = WM_APP + 1;

using Work = std::function<void()>;

} // namespace

Win32UiThread::Win32UiThread() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &Win32UiThread::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass); // fails harmlessly when the class is there already
    window_ =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
}

Win32UiThread::~Win32UiThread() {
    MSG message;
    while (PeekMessageW(&message, window_, kRunWork, kRunWork, PM_REMOVE))
        delete reinterpret_cast<Work*>(message.lParam);
    DestroyWindow(window_);
}

void Win32UiThread::post(Work work) {
    auto queued = std::make_unique<Work>(std::move(work));
    if (PostMessageW(window_, kRunWork, 0, reinterpret_cast<LPARAM>(queued.get()))) queued.release();
}

LRESULT CALLBACK Win32UiThread::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kRunWork) return DefWindowProcW(window, message, wParam, lParam);
    const std::unique_ptr<Work> work(reinterpret_cast<Work*>(lParam));
    (*work)();
    return 0;
}

} // namespace murmora::win32
