// The take file's side of the system on Linux: flock, rename, sendfile and fsync.
#include "platform/audio/take_file.h"
#include "platform/audio/take_file_system.h"

#include <sndfile.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/file.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kCopyChunk = 64 << 20;

std::error_code lastSystemError() { return {errno, std::system_category()}; }

// The permissions the user gives a new file: 0666 less the umask, read without changing it.
mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 0644;
}

std::error_code syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    std::error_code error = ::fsync(fd) == 0 ? std::error_code() : lastSystemError();
    if (::close(fd) != 0 && !error) error = lastSystemError();
    return error;
}

// Copies the whole file at `from` into `out`, gives it the permissions of a new file and syncs it.
std::error_code fillAndSync(const fs::path& from, int out) {
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return lastSystemError();
    std::error_code error;
    for (ssize_t sent = 1; sent != 0 && !error;) {
        sent = ::sendfile(out, in, nullptr, kCopyChunk);
        if (sent < 0 && errno != EINTR) error = lastSystemError();
    }
    ::close(in);
    if (!error && (::fchmod(out, newFileMode()) != 0 || ::fsync(out) != 0)) error = lastSystemError();
    return error;
}

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
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) return {1, takeFolderCategory()};
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

std::error_code moveTo(int descriptor, const fs::path& from, const fs::path& target) {
    if (::fchmod(descriptor, newFileMode()) != 0) return lastSystemError();
    if (::rename(from.c_str(), target.c_str()) != 0) return lastSystemError();
    return {};
}

// The copy goes into a new hidden file of a random name, made exclusively (never an existing
// name, never through a link), and is renamed over the target.
std::error_code copyOver(const fs::path& from, const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string partial = (folder / ".murmora-save-XXXXXX").string();
    const int out = ::mkostemp(partial.data(), O_CLOEXEC);
    if (out < 0) return lastSystemError();
    struct stat made {};
    std::error_code error = ::fstat(out, &made) == 0 ? fillAndSync(from, out) : lastSystemError();
    if (::close(out) != 0 && !error) error = lastSystemError();
    if (!error && ::rename(partial.c_str(), target.c_str()) != 0) error = lastSystemError();
    if (!error) {
        // The take is in place; a folder entry not yet on disk follows with the next sync.
        static_cast<void>(syncFolder(folder));
        return {};
    }
    struct stat now {};
    if (::lstat(partial.c_str(), &now) == 0 && now.st_dev == made.st_dev && now.st_ino == made.st_ino)
        ::unlink(partial.c_str());
    return error;
}

SNDFILE* openSoundFile(const fs::path& path, int mode, SF_INFO* info) { return sf_open(path.c_str(), mode, info); }

void clearLastError() { errno = 0; }

std::error_code lastErrorOr(std::errc fallback) {
    return errno != 0 ? lastSystemError() : std::make_error_code(fallback);
}

} // namespace takefs
} // namespace murmora::audio
