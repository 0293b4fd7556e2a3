#pragma once
// The program's own texts on Qt's widgets, in the user's language (core/texts.h).
#include <QString>

#include "core/texts.h"

namespace murmora::qt {

inline QString uiText(const char* english) { return QString::fromUtf8(translated(english)); }

} // namespace murmora::qt
