#include "platform/win32/win32_window_host.h"

#include "platform/win32/gdi_regions.h"

namespace murmora {

namespace {

constexpr double kTwipsPerInch = 1440.0;

double twipsPerPixel(int axis) {
    const HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, axis);
    ReleaseDC(nullptr, screen);
    return kTwipsPerInch / (dotsPerInch > 0 ? dotsPerInch : 96);
}

} // namespace

void Win32WindowHost::setPanelOutline(const Region& region) {
    SetWindowRgn(panel_.handle(), gdiRegionOf(region), TRUE);
}

void Win32WindowHost::showScheduleWindow() {
    if (scheduleWindowLoaded_) scheduleDialog_.runModal();
}

void Win32WindowHost::unloadScheduleWindow() {
    // The controls stay until the program ends: the rules keep references to them.
    scheduleWindowLoaded_ = false;
    scheduleDialog_.hide();
}

void Win32WindowHost::endProgram() {
    PostQuitMessage(0);
}

double Win32ScreenMetrics::twipsPerPixelX() const { return twipsPerPixel(LOGPIXELSX); }
double Win32ScreenMetrics::twipsPerPixelY() const { return twipsPerPixel(LOGPIXELSY); }

} // namespace murmora
