#include "platform/posix/settings_file.h"

#include "platform/posix/partial_file.h"
#include "platform/settings_text.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::posix {
namespace fs = std::filesystem;

namespace {

// The whole file, or why it cannot be read. A file larger than settings can be is read only
// that far, and is refused by the parser. Only a plain file is read: the open does not wait (for
// the writer of a pipe, say), and a pipe, a socket or a device is refused.
Result<std::string> readSmallFile(const fs::path& path) {
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

std::error_code makeFolders(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return lastSystemError();
    }
    return {};
}

std::error_code writeAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written >= 0)
            done += static_cast<std::size_t>(written);
        else if (errno != EINTR)
            return lastSystemError();
    }
    return {};
}

} // namespace

fs::path settingsFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        return fs::path(config) / "murmora";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".config" / "murmora";
    return {};
}

SettingsFile::SettingsFile(fs::path folder, std::ostream& complaints)
    : folder_(std::move(folder)), path_(folder_.empty() ? fs::path() : folder_ / "settings.conf"),
      complaints_(complaints) {}

Settings SettingsFile::load() {
    if (path_.empty()) return {};
    const Result<std::string> text = readSmallFile(path_);
    if (!text) {
        if (text.error() != std::errc::no_such_file_or_directory) complain("cannot be read", text.error().message());
        return {};
    }
    const ReadSettings read = settingsFromText(*text);
    if (read.complaint.empty()) return read.settings;
    complain("make no sense", read.complaint);
    return {};
}

void SettingsFile::complain(const char* what, const std::string& why) {
    complaints_ << "murmora: the settings in " << path_.string() << " " << what << " (" << why
                << "); using the defaults\n";
}

std::error_code SettingsFile::save(const Settings& settings) {
    if (path_.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::optional<std::string> text = settingsText(settings);
    if (!text) return std::make_error_code(std::errc::invalid_argument);
    if (const std::error_code error = makeFolders(folder_)) return error;
    auto partial = PartialFile::createBeside(path_, ".settings-");
    if (!partial) return partial.error();
    if (const std::error_code error = writeAll((*partial)->descriptor(), *text)) return error;
    return (*partial)->replaceTarget();
}

} // namespace murmora::posix
