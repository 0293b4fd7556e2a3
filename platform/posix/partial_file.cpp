#include "platform/posix/partial_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::posix {
namespace fs = std::filesystem;

namespace {

std::error_code syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    std::error_code error = ::fsync(fd) == 0 ? std::error_code() : lastSystemError();
    if (::close(fd) != 0 && !error) error = lastSystemError();
    return error;
}

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

} // namespace

std::error_code lastSystemError() { return {errno, std::system_category()}; }

mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 0644;
}

Result<std::unique_ptr<PartialFile>> PartialFile::createBeside(const fs::path& target, const char* prefix) {
    std::string path = (folderOf(target) / (std::string(prefix) + "XXXXXX")).string();
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        const std::error_code error = lastSystemError();
        ::close(fd);
        ::unlink(path.c_str());
        return error;
    }
    return std::unique_ptr<PartialFile>(new PartialFile(path, target, fd, made.st_dev, made.st_ino));
}

PartialFile::PartialFile(fs::path path, fs::path target, int descriptor, dev_t device, ino_t inode)
    : path_(std::move(path)), target_(std::move(target)), descriptor_(descriptor), device_(device), inode_(inode) {}

PartialFile::~PartialFile() { remove(); }

std::error_code PartialFile::replaceTarget() {
    std::error_code error;
    if (::fchmod(descriptor_, newFileMode()) != 0 || ::fsync(descriptor_) != 0) error = lastSystemError();
    if (::close(descriptor_) != 0 && !error) error = lastSystemError();
    descriptor_ = -1;
    if (!error && ::rename(path_.c_str(), target_.c_str()) != 0) error = lastSystemError();
    if (error) {
        remove();
        return error;
    }
    done_ = true;
    // The file is in place; a folder entry not yet on disk follows with the next sync.
    static_cast<void>(syncFolder(folderOf(target_)));
    return {};
}

void PartialFile::remove() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    if (done_) return;
    done_ = true;
    struct stat now {};
    if (::lstat(path_.c_str(), &now) == 0 && now.st_dev == device_ && now.st_ino == inode_) ::unlink(path_.c_str());
}

} // namespace murmora::posix
