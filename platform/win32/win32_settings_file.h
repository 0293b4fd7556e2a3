#pragma once
#include "settings/settings_file.h"

#include <filesystem>
#include <iostream>

namespace murmora::win32 {

// The user's configuration folder for the program: Murmora in the roaming application data
// (%APPDATA%\Murmora); empty when Windows does not say where that is.
std::filesystem::path win32SettingsFolder();

// The settings file on Windows, in the same text as on Linux.
class Win32SettingsFile final : public SettingsFile {
public:
    explicit Win32SettingsFile(std::filesystem::path folder = win32SettingsFolder(),
                               std::ostream& complaints = std::cerr);

private:
    Result<std::string> readSmallFile(const std::filesystem::path& path) const override;
    bool isMissing(const std::error_code& error) const override;
    std::error_code makeFolders(const std::filesystem::path& folder) const override;
    std::error_code replaceWhole(const std::filesystem::path& target, const std::string& text) const override;
};

} // namespace murmora::win32
