#pragma once
// The panel's layout (platform/panel_layout.h) in Win32's terms.
#include <windows.h>

#include "platform/panel_layout.h"

namespace murmora::win32 {

constexpr RECT toRect(const panel_layout::Box& box) { return {box.left, box.top, box.right(), box.bottom()}; }
constexpr COLORREF toColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// The lettering the windows were laid out for, Tahoma, at `points` on this screen; the caller
// deletes it.
inline HFONT designFont(int points) {
    const HDC screen = GetDC(nullptr);
    const HFONT font = CreateFontW(-MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                                   DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
    ReleaseDC(nullptr, screen);
    return font;
}

} // namespace murmora::win32
