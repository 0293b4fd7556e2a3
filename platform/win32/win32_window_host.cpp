#include "platform/win32/win32_window_host.h"

#include "platform/win32/win32_gdi_regions.h"

namespace murmora::win32 {

namespace {

double dotsPerInch(int axis) {
    const HDC screen = GetDC(nullptr);
    const int dots = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return dots > 0 ? dots : 96;
}

} // namespace

void Win32WindowHost::setPanelOutline(const Outline& outline) {
    SetWindowRgn(panel_.handle(), gdiOutline(outline), TRUE);
}

void Win32WindowHost::showScheduleWindow() {
    if (scheduleWindowLoaded_) scheduleDialog_.runModal();
}

void Win32WindowHost::unloadScheduleWindow() {
    // The controls stay until the program ends: the rules keep references to them.
    scheduleWindowLoaded_ = false;
    scheduleDialog_.hide();
}

void Win32WindowHost::endProgram() { PostQuitMessage(0); }

double Win32ScreenMetrics::dotsPerInchX() const { return dotsPerInch(LOGPIXELSX); }
double Win32ScreenMetrics::dotsPerInchY() const { return dotsPerInch(LOGPIXELSY); }

} // namespace murmora::win32
