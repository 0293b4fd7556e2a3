#pragma once
#include "platform/settings.h"

#include <filesystem>
#include <iostream>

namespace murmora::posix {

// The user's configuration folder for the program: $XDG_CONFIG_HOME/murmora where that is an
// absolute path, else ~/.config/murmora; empty when neither is known.
std::filesystem::path settingsFolder();

// The settings in the file "settings.conf" of `folder` (see settings_text.h). Loading tells
// `complaints` why a file gives the defaults; saving makes the folder where it is missing (0700)
// and replaces the file whole.
class SettingsFile final : public SettingsStore {
public:
    explicit SettingsFile(std::filesystem::path folder = settingsFolder(), std::ostream& complaints = std::cerr);
    Settings load() override;
    std::error_code save(const Settings& settings) override;
    const std::filesystem::path& path() const { return path_; }

private:
    void complain(const char* what, const std::string& why);

    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::ostream& complaints_;
};

} // namespace murmora::posix
