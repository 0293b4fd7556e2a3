#pragma once
#include "settings/settings_file.h"

#include <filesystem>
#include <iostream>

namespace murmora::posix {

// The user's configuration folder for the program: $XDG_CONFIG_HOME/murmora where that is an
// absolute path, else ~/.config/murmora; empty when neither is known.
std::filesystem::path settingsFolder();

// The settings file on POSIX: saving makes the folder where it is missing (0700).
class SettingsFile final : public murmora::SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path folder = settingsFolder(), std::ostream& complaints = std::cerr);

private:
    Result<std::string> readSmallFile(const std::filesystem::path& path) const override;
    bool isMissing(const std::error_code& error) const override;
    std::error_code makeFolders(const std::filesystem::path& folder) const override;
    std::error_code replaceWhole(const std::filesystem::path& target, const std::string& text) const override;
};

} // namespace murmora::posix
