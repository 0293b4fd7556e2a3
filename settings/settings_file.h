#pragma once
#include "core/result.h"
#include "platform/settings.h"

#include <filesystem>
#include <ostream>
#include <string>

namespace murmora {

// The settings in the file "settings.conf" of a folder, in the text of settings_text.h. Loading
// gives the defaults where the file is missing, and where it cannot be read or makes no sense,
// then telling `complaints` why in one line; saving makes the folder where it is missing and
// replaces the file whole. Each system gives the calls on its files.
class SettingsFile : public SettingsStore {
public:
    Settings load() final;
    std::error_code save(const Settings& settings) final;
    const std::filesystem::path& path() const { return path_; }

protected:
    SettingsFile(std::filesystem::path folder, std::ostream& complaints);

private:
    // The file's first kLargestSettingsText + 1 bytes, or why it cannot be read. Only a plain
    // file is read: a pipe's read would wait for its writer, and the panel would never start.
    virtual Result<std::string> readSmallFile(const std::filesystem::path& file) const = 0;
    virtual bool isMissing(const std::error_code& error) const = 0;
    virtual std::error_code makeFolders(const std::filesystem::path& folder) const = 0;
    // Writes `text` into a new file beside `target`, on disk before it takes the target's
    // place; on failure the new file goes and the target stays as it was.
    virtual std::error_code replaceWhole(const std::filesystem::path& target, const std::string& text) const = 0;

    void complain(const char* what, const std::string& why);

    std::filesystem::path folder_;
    std::filesystem::path path_;
    std::ostream& complaints_;
};

} // namespace murmora
