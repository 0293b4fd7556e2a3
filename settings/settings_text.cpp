#include "settings/settings_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace murmora {
namespace {

constexpr std::array<std::pair<SaveFormat, std::string_view>, 4> kFormatNames{
    {{SaveFormat::wav, "wav"}, {SaveFormat::flac, "flac"}, {SaveFormat::opus, "opus"}, {SaveFormat::mp3, "mp3"}}};

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool holdsControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f; });
}

// A text for the user as one line: control characters as blanks, none around it.
std::string oneLine(std::string_view text) {
    std::string line(text);
    std::replace_if(
        line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; }, ' ');
    return std::string(trimmed(line));
}

std::string lineComplaint(std::size_t number, std::string_view what) {
    return "line " + std::to_string(number) + " " + std::string(what);
}

} // namespace

ReadSettings settingsFromText(std::string_view text) {
    if (text.size() > kLargestSettingsText) return {{}, "it is larger than a settings file can be"};
    Settings settings;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (holdsControlCharacters(line)) return {{}, lineComplaint(number, "is not text")};
        line = trimmed(line);
        if (line.empty() || line.starts_with('#')) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) return {{}, lineComplaint(number, "is no setting")};
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if (key == "input") {
            settings.inputName = value;
        } else if (key == "input_description") {
            settings.inputDescription = value;
        } else if (key == "format") {
            const auto named = std::find_if(kFormatNames.begin(), kFormatNames.end(),
                                            [value](const auto& format) { return format.second == value; });
            if (named == kFormatNames.end()) return {{}, lineComplaint(number, "names no format")};
            settings.format = named->first;
        }
    }
    return {settings, {}};
}

std::optional<std::string> settingsText(const Settings& settings) {
    const std::string_view input = settings.inputName;
    if (holdsControlCharacters(input) || trimmed(input) != input) return std::nullopt;
    const auto named = std::find_if(kFormatNames.begin(), kFormatNames.end(),
                                    [&settings](const auto& format) { return format.first == settings.format; });
    return "# Murmora's settings\ninput=" + settings.inputName +
           "\ninput_description=" + oneLine(settings.inputDescription) + "\nformat=" + std::string(named->second) +
           "\n";
}

namespace {

class SettingsFileCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "settings file"; }
    std::string message(int) const override { return "not a plain file"; }
};

} // namespace

std::error_code notAPlainFile() {
    static const SettingsFileCategory category;
    return {1, category};
}

} // namespace murmora
