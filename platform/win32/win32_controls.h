#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// A one-second timer (SetTimer without a window): its ticks come with the thread's messages, so
// they also run while a message box or file dialog is open.
class Win32Timer final : public Timer {
public:
    Win32Timer() = default;
    ~Win32Timer() override { setEnabled(false); }
    Win32Timer(const Win32Timer&) = delete;
    Win32Timer& operator=(const Win32Timer&) = delete;

    void setEnabled(bool enabled) override;
    void setInterval(std::chrono::milliseconds interval) override;
    void setTickHandler(std::function<void()> handler) override { onTick_ = std::move(handler); }

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD);

    UINT_PTR id_ = 0;
    UINT intervalMs_ = 1000;
    std::function<void()> onTick_;
};

// An edit control. An edit is finished with Return or when the focus leaves the box; the Up and
// Down arrows are reported as steps when a step handler is set. The box handles its own keys
// (its window procedure is replaced): Return goes to the dialog only while no edit handler is set.
class Win32TextBox final : public TextBox {
public:
    explicit Win32TextBox(HWND edit);
    ~Win32TextBox() override;
    Win32TextBox(const Win32TextBox&) = delete;
    Win32TextBox& operator=(const Win32TextBox&) = delete;

    HWND handle() const { return edit_; }
    std::string text() const override;
    void setText(const std::string& text) override { SetWindowTextW(edit_, toWide(text).c_str()); }
    void setEditFinishedHandler(std::function<void()> handler) override { onEditFinished_ = std::move(handler); }
    void setStepHandler(std::function<void(int)> handler) override { onStep_ = std::move(handler); }

private:
    static LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND edit_;
    WNDPROC previous_;
    std::function<void()> onEditFinished_;
    std::function<void(int)> onStep_;
};

// A vertical scroll bar control as a spinner. The bar holds each value v as -v, which puts the
// largest value at its top end while the arrows keep their directions; every change, by the
// user or by setValue, is reported.
class Win32Spinner final : public Spinner {
public:
    Win32Spinner(HWND bar, int minimum, int maximum);
    HWND handle() const { return bar_; }
    int value() const override { return -GetScrollPos(bar_, SB_CTL); }
    void setValue(int value) override;
    int minimum() const override { return minimum_; }
    int maximum() const override { return maximum_; }
    void setChangeHandler(std::function<void()> handler) override { onChange_ = std::move(handler); }
    // A WM_VSCROLL of the bar: the arrows and the track step by one, the thumb sets its place.
    void onScroll(WPARAM request);

private:
    void moveTo(int position);

    HWND bar_;
    int minimum_;
    int maximum_;
    std::function<void()> onChange_;
};

class Win32CheckBox final : public CheckBox {
public:
    explicit Win32CheckBox(HWND box) : box_(box) {}
    bool isChecked() const override { return SendMessageW(box_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

private:
    HWND box_;
};

} // namespace murmora::win32
