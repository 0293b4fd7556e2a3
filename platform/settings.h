#pragma once
#include <string>
#include <system_error>

namespace murmora {

// The format a take is saved in. A WAV take is the take file itself; the others are encoded from it.
enum class SaveFormat {
    wav,
    flac,
    opus,
    mp3
};

// What the user chose, kept from one run to the next.
struct Settings {
    // The sound server's name of the input to record from; empty for the default input.
    std::string inputName;
    SaveFormat format = SaveFormat::wav;
    // The chosen input as the user knows it, to name it by while it is not there.
    std::string inputDescription;
    bool operator==(const Settings&) const = default;
};

// Where the settings are kept: a file in the user's configuration folder.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The settings kept, or the defaults where none are kept yet, or where they cannot be read or
    // make no sense: then one line on stderr says why. Never fails.
    virtual Settings load() = 0;
    // Replaces the settings kept, whole or not at all.
    [[nodiscard]] virtual std::error_code save(const Settings& settings) = 0;
};

} // namespace murmora
