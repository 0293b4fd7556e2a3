#pragma once
#include "platform/settings.h"

#include <filesystem>
#include <iostream>

namespace murmora::win32 {

// The user's configuration folder for the program: Murmora in the roaming application data
// (%APPDATA%\Murmora); empty when Windows does not say where that is.
std::filesystem::path win32SettingsFolder();

// The settings in the file "settings.conf" of `folder`, in the same text as on Linux
// (settings_text.h). Loading tells `complaints` why a file gives the defaults; saving makes the
// folder where it is missing and replaces the file whole: the new text goes to a file beside it,
// on disk before it takes the old one's place.
class Win32SettingsFile final : public SettingsStore {
public:
    explicit Win32SettingsFile(std::filesystem::path folder = win32SettingsFolder(),
                               std::ostream& complaints = std::cerr);
    Settings load() override;
    std::error_code save(const Settings& settings) override;
    const std::filesystem::path& path() const { return path_; }

private:
    void complain(const char* what, const std::string& why);

    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::ostream& complaints_;
};

} // namespace murmora::win32
