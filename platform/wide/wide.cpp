#include "platform/wide/wide.h"

namespace murmora {

std::wstring toWide(std::string_view text) {
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string fromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

namespace {

class Win32Category final : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }
    std::string message(int code) const override {
        wchar_t* text = nullptr;
        const DWORD length =
            FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
        std::wstring words(text ? text : L"", length);
        LocalFree(text);
        // The system's words end with a full stop and a line break; the messages add their own.
        while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
            words.pop_back();
        return words.empty() ? "Windows error " + std::to_string(code) : fromWide(words);
    }
    std::error_condition default_error_condition(int code) const noexcept override {
        if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) return std::errc::file_exists;
        return {code, *this};
    }
};

} // namespace

const std::error_category& win32Category() {
    static const Win32Category category;
    return category;
}

std::error_code win32Error(DWORD code) { return {static_cast<int>(code), win32Category()}; }

std::error_code lastWin32Error() { return win32Error(GetLastError()); }

} // namespace murmora
