#pragma once
#include "platform/settings.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace murmora {

// Settings as the settings file holds them: a line "key=value" for each, blanks around the key
// and the value left out. Blank lines and lines that begin with "#" say nothing; keys this
// version does not know are passed over (a later version may have written them).
inline constexpr std::size_t kLargestSettingsText = 64 * 1024;

// The settings `text` holds, or why it makes no sense (then the whole text counts for nothing).
struct ReadSettings {
    Settings settings;
    std::string complaint; // empty when the text makes sense
};
ReadSettings settingsFromText(std::string_view text);

// The text of the settings; nothing when the input's name cannot be written as a line of its
// own. The input's description, which is only shown, is written as one line.
std::optional<std::string> settingsText(const Settings& settings);

// Why a settings file that is no plain file (a pipe, a socket, a device) is not read: reading
// one could wait for ever, and the panel would never start.
std::error_code notAPlainFile();

} // namespace murmora
