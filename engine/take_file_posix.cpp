// The take file's side of the system on Linux: flock, rename, sendfile and fsync.
#include "engine/take_file.h"
#include "engine/take_file_system.h"
#include "platform/posix/partial_file.h"

#include <sndfile.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunk = 64 << 20;

using posix::lastSystemError;
using posix::newFileMode;

class PosixPartialOutput final : public takefs::PartialOutput {
public:
    explicit PosixPartialOutput(std::unique_ptr<posix::PartialFile> file) : file_(std::move(file)) {}

    std::error_code write(const void* data, std::size_t bytes) override {
        return posix::writeAll(file_->descriptor(), data, bytes);
    }
    std::int64_t read(void* data, std::int64_t bytes) override {
        return ::read(file_->descriptor(), data, static_cast<std::size_t>(bytes));
    }
    std::int64_t seek(std::int64_t offset, int whence) override { return ::lseek(file_->descriptor(), offset, whence); }
    std::int64_t length() override {
        struct stat info {};
        return ::fstat(file_->descriptor(), &info) == 0 ? info.st_size : -1;
    }
    std::error_code replaceTarget() override { return file_->replaceTarget(); }

private:
    std::unique_ptr<posix::PartialFile> file_;
};

} // namespace

fs::path defaultTakeFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return fs::path(cache) / "murmora" / "takes";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".cache" / "murmora" / "takes";
    return fs::path("/var/tmp") / ("murmora-takes-" + std::to_string(::geteuid()));
}

namespace takefs {

std::error_code prepareFolder(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return lastSystemError();
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return lastSystemError();
    if (S_ISLNK(info.st_mode)) return refusedFolder(TakeFolderRefusal::link);
    if (!S_ISDIR(info.st_mode)) return refusedFolder(TakeFolderRefusal::notAFolder);
    if (info.st_uid != ::geteuid()) return refusedFolder(TakeFolderRefusal::anotherUsers);
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0) return lastSystemError();
    return {};
}

// A take that cannot be locked would be taken for one left behind by the next start: it is not made.
Result<LockedFile> createLocked(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        fs::path path = folder / ("take-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".wav");
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return lastSystemError();
        if (::flock(fd, LOCK_EX) != 0) {
            const std::error_code error = lastSystemError();
            ::close(fd);
            ::unlink(path.c_str());
            return error;
        }
        return LockedFile{std::move(path), fd};
    }
}

void close(int descriptor) { ::close(descriptor); }

void remove(const fs::path& path) { ::unlink(path.c_str()); }

bool isHeld(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true; // gone, or not ours to read: leave it alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

DateTime lastWritten(const fs::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return 0;
    std::tm local{};
    localtime_r(&status.st_mtime, &local);
    return static_cast<DateTime>(timegm(&local));
}

std::vector<fs::path> removeUnfinishedSaves(const fs::path& takeFolder) {
    return posix::removeUnfinishedPartialFiles(takeFolder);
}

std::error_code moveTo(int descriptor, const fs::path& from, const fs::path& target) {
    if (::fchmod(descriptor, newFileMode()) != 0) return lastSystemError();
    if (::rename(from.c_str(), target.c_str()) != 0) return lastSystemError();
    return {};
}

// The copy goes into a new hidden file of a random name, made exclusively (never an existing
// name, never through a link), and is renamed over the target.
std::error_code copyOver(const fs::path& from, const fs::path& target, const fs::path& noteFolder, AtTarget atTarget) {
    auto partial = posix::PartialFile::createBeside(target, ".murmora-save-", noteFolder, from);
    if (!partial) return partial.error();
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return lastSystemError();
    std::error_code error;
    for (ssize_t sent = 1; sent != 0 && !error;) {
        sent = ::sendfile((*partial)->descriptor(), in, nullptr, kCopyChunk);
        if (sent < 0 && errno != EINTR) error = lastSystemError();
    }
    ::close(in);
    if (error) return error;
    return atTarget == AtTarget::replace ? (*partial)->replaceTarget() : (*partial)->becomeTarget();
}

std::error_code placeLeftover(const fs::path& take, const fs::path& target, const fs::path& noteFolder) {
    const int descriptor = ::open(take.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (descriptor < 0) return lastSystemError();
    std::error_code error;
    if (::fchmod(descriptor, newFileMode()) != 0 || ::fsync(descriptor) != 0) error = lastSystemError();
    ::close(descriptor);
    if (error) return error;
    error = posix::renameUnlessTaken(take, target);
    if (error == std::errc::cross_device_link) {
        error = copyOver(take, target, noteFolder, AtTarget::keep);
        if (!error) takefs::remove(take);
        return error;
    }
    if (!error) static_cast<void>(posix::syncFolder(target.has_parent_path() ? target.parent_path() : fs::path(".")));
    return error;
}

Result<std::unique_ptr<PartialOutput>> createPartialOutput(const fs::path& target, const fs::path& take) {
    auto partial = posix::PartialFile::createBeside(target, ".murmora-encode-", take.parent_path(), take);
    if (!partial) return partial.error();
    return std::unique_ptr<PartialOutput>(std::make_unique<PosixPartialOutput>(std::move(*partial)));
}

SNDFILE* openSoundFile(const fs::path& path, int mode, SF_INFO* info) { return sf_open(path.c_str(), mode, info); }

void clearLastError() { errno = 0; }

std::error_code lastErrorOr(std::errc fallback) {
    return errno != 0 ? lastSystemError() : std::make_error_code(fallback);
}

} // namespace takefs
} // namespace murmora::audio
