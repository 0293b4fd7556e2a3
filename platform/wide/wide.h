#pragma once
// windows.h first: the other Windows headers use its types.
#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

namespace murmora {

// The program speaks UTF-8; the wide Windows functions take UTF-16, so that any file name works.
std::wstring toWide(std::string_view text);
std::string fromWide(std::wstring_view text);

// The error of a Windows call by its number (GetLastError), with the system's own words.
const std::error_category& win32Category();
std::error_code win32Error(DWORD code);
std::error_code lastWin32Error();

} // namespace murmora
