#pragma once
// The panel's layout (platform/panel_layout.h) in Win32's terms.
#include <windows.h>

#include "platform/panel_layout.h"

namespace murmora::win32 {

constexpr RECT toRect(const panel_layout::Box& box) { return {box.left, box.top, box.right(), box.bottom()}; }
constexpr COLORREF toColorRef(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

} // namespace murmora::win32
