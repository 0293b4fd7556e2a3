#include "platform/posix/settings_file.h"

#include "platform/posix/partial_file.h"
#include "settings/settings_text.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::posix {
namespace fs = std::filesystem;

fs::path settingsFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return fs::path(config) / "murmora";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config" / "murmora";
    return {};
}

SettingsFile::SettingsFile(fs::path folder, std::ostream& complaints)
    : murmora::SettingsFile(std::move(folder), complaints) {}

Result<std::string> SettingsFile::readSmallFile(const fs::path& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const std::error_code why =
            S_ISDIR(info.st_mode) ? std::make_error_code(std::errc::is_a_directory) : notAPlainFile();
        ::close(fd);
        return why;
    }
    std::string text(kLargestSettingsText + 1, '\0');
    std::size_t got = 0;
    std::error_code error;
    while (got < text.size()) {
        const ssize_t read = ::read(fd, text.data() + got, text.size() - got);
        if (read == 0) break;
        if (read > 0)
            got += static_cast<std::size_t>(read);
        else if (errno != EINTR) {
            error = lastSystemError();
            break;
        }
    }
    ::close(fd);
    if (error) return error;
    text.resize(got);
    return text;
}

bool SettingsFile::isMissing(const std::error_code& error) const {
    return error == std::errc::no_such_file_or_directory;
}

std::error_code SettingsFile::makeFolders(const fs::path& folder) const {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return lastSystemError();
    }
    return {};
}

std::error_code SettingsFile::replaceWhole(const fs::path& target, const std::string& text) const {
    auto partial = PartialFile::createBeside(target, ".settings-");
    if (!partial) return partial.error();
    if (const std::error_code error = writeAll((*partial)->descriptor(), text.data(), text.size())) return error;
    return (*partial)->replaceTarget();
}

} // namespace murmora::posix
