#include "settings/settings_file.h"

#include "settings/settings_text.h"

#include <string_view>

namespace murmora {
namespace fs = std::filesystem;

SettingsFile::SettingsFile(fs::path folder, std::ostream& complaints)
    : folder_(std::move(folder)), path_(folder_.empty() ? fs::path() : folder_ / "settings.conf"),
      complaints_(complaints) {}

Settings SettingsFile::load() {
    if (path_.empty()) return {};
    const Result<std::string> text = readSmallFile(path_);
    if (!text) {
        if (!isMissing(text.error())) complain("cannot be read", text.error().message());
        return {};
    }
    // Notepad may begin the file with a byte order mark.
    std::string_view kept = *text;
    if (kept.starts_with("\xEF\xBB\xBF")) kept.remove_prefix(3);
    const ReadSettings read = settingsFromText(kept);
    if (read.complaint.empty()) return read.settings;
    complain("make no sense", read.complaint);
    return {};
}

void SettingsFile::complain(const char* what, const std::string& why) {
    const std::u8string shown = path_.u8string();
    complaints_ << "murmora: the settings in "
                << std::string_view(reinterpret_cast<const char*>(shown.data()), shown.size()) << " " << what << " ("
                << why << "); using the defaults\n";
    complaints_.flush();
}

std::error_code SettingsFile::save(const Settings& settings) {
    if (path_.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::optional<std::string> text = settingsText(settings);
    if (!text) return std::make_error_code(std::errc::invalid_argument);
    if (const std::error_code error = makeFolders(folder_)) return error;
    return replaceWhole(path_, *text);
}

} // namespace murmora
