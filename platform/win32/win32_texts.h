#pragma once
// The program's own texts on Windows' controls, in the user's language (core/texts.h).
#include <string>

#include "core/texts.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

inline std::wstring uiText(const char* english) { return toWide(translated(english)); }

} // namespace murmora::win32
