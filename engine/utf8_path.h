#pragma once
#include <filesystem>
#include <string>
#include <string_view>

namespace murmora::audio {

// The program's texts, paths among them, are UTF-8. A path made from a plain string reads it in
// the system's narrow encoding instead, which on Windows is not UTF-8: any name with a letter
// beyond ASCII would name another file.
inline std::filesystem::path pathOfUtf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace murmora::audio
