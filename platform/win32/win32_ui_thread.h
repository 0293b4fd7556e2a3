#pragma once
#include "platform/ui_thread.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// Work for the thread that made this object, the user-interface thread: each piece is a message
// posted to a message-only window of its own, run by whichever message loop runs then (the
// program's, or a dialog's). Work still queued when the object goes is dropped.
class Win32UiThread final : public UiThread {
public:
    Win32UiThread();
    ~Win32UiThread() override;
    Win32UiThread(const Win32UiThread&) = delete;
    Win32UiThread& operator=(const Win32UiThread&) = delete;

    void post(std::function<void()> work) override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
};

} // namespace murmora::win32
