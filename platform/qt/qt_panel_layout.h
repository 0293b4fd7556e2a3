#pragma once
// The panel's layout (platform/panel_layout.h) in Qt's terms.
#include <QColor>
#include <QRect>

#include "platform/panel_layout.h"

namespace murmora::qt {

constexpr QRect toQRect(const panel_layout::Box& box) { return {box.left, box.top, box.width, box.height}; }
inline QColor toQColor(std::uint32_t rgb) { return QColor::fromRgb(rgb); }

} // namespace murmora::qt
