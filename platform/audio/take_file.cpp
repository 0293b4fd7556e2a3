#include "platform/audio/take_file.h"
#include "platform/audio/unfinished_saves.h"

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

class TakeFolderCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "take folder"; }
    std::string message(int) const override { return "the folder is a link or belongs to another user"; }
};

// Makes each missing folder of `folder` for this user alone, and accepts `folder` only when it
// is a folder (not a link to one) that this user owns, closed to everyone else.
std::error_code prepareTakeFolder(const fs::path& folder) {
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

// Opens a file of a name no other take uses, for this user alone, and locks it: the lock, held
// until the file is closed, tells that the take is in use. A take that cannot be locked would be
// taken for one left behind by the next start: it is not made.
Result<int> createUniqueFile(const fs::path& folder, fs::path& path) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        path = folder / ("take-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".wav");
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return lastSystemError();
        if (::flock(fd, LOCK_EX) != 0) {
            const std::error_code error = lastSystemError();
            ::close(fd);
            ::unlink(path.c_str());
            return error;
        }
        return fd;
    }
}

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

// Whether some process holds the take at `path` open as a TakeFile.
bool takeIsHeld(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true; // gone, or not ours to read: leave it alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
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

// Copies the take at `from` into a new hidden file of a random name beside `target`, made
// exclusively (never an existing name, never through a link), syncs it and renames it over
// the target: the target is either the whole take or untouched. When a step fails, the file
// made here is removed, and nothing else. The file is noted in `noteFolder` for as long as it
// is there, so that the next start removes it should the program end in the middle.
std::error_code copyOver(const fs::path& from, const fs::path& target, const fs::path& noteFolder) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    Result<NotedPartialFile> noted = NotedPartialFile::create(noteFolder, folder);
    if (!noted) return noted.error();
    const std::string partial = noted->path().string();
    const int out = noted->descriptor();
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

} // namespace

const std::error_category& takeFolderCategory() {
    static const TakeFolderCategory category;
    return category;
}

std::vector<fs::path> unheldTakes(const fs::path& folder) {
    std::vector<fs::path> takes;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path& path = entry->path();
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && path.extension() == ".wav" && path.filename().string()[0] != '.' &&
            !takeIsHeld(path))
            takes.push_back(path);
    }
    return takes;
}

fs::path defaultTakeFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return fs::path(cache) / "murmora" / "takes";
    if (const char* home = std::getenv("HOME"); home && *home) return fs::path(home) / ".cache" / "murmora" / "takes";
    return fs::path("/var/tmp") / ("murmora-takes-" + std::to_string(::geteuid()));
}

Result<std::unique_ptr<TakeFile>> TakeFile::create(const fs::path& folder, const StreamFormat& format) {
    if (const std::error_code error = prepareTakeFolder(folder)) return error;
    fs::path path;
    const Result<int> opened = createUniqueFile(folder, path);
    if (!opened) return opened.error();
    const int fd = *opened;
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    // RF64 that libsndfile writes as a plain WAV for as long as the take stays under 4 GB.
    info.format = SF_FORMAT_RF64 | SF_FORMAT_PCM_16;
    errno = 0;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (!file) {
        // A header that cannot be written (a full disk) leaves its reason in errno.
        const std::error_code error = errno != 0 ? lastSystemError() : std::make_error_code(std::errc::io_error);
        ::close(fd);
        ::unlink(path.c_str());
        return error;
    }
    sf_command(file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
    std::unique_ptr<TakeFile> take(new TakeFile(path, fd, file));
    take->updateHeader();
    return take;
}

TakeFile::TakeFile(fs::path path, int descriptor, SNDFILE* file)
    : path_(std::move(path)), folder_(path_.parent_path()), descriptor_(descriptor), file_(file) {}

TakeFile::~TakeFile() {
    // An unplaced take is removed: its final header does not matter.
    static_cast<void>(finish());
    ::close(descriptor_);
    if (!placed_) ::unlink(path_.c_str());
}

std::error_code TakeFile::finish() {
    if (!file_) return {};
    errno = 0;
    const int closed = sf_close(file_);
    file_ = nullptr;
    if (closed == 0) return {};
    return errno != 0 ? lastSystemError() : std::make_error_code(std::errc::io_error);
}

std::error_code TakeFile::append(const std::int16_t* samples, std::size_t frames) {
    if (writeError_) return writeError_;
    if (!file_) return std::make_error_code(std::errc::bad_file_descriptor);
    errno = 0;
    const sf_count_t written = sf_writef_short(file_, samples, static_cast<sf_count_t>(frames));
    frames_ += written;
    if (written != static_cast<sf_count_t>(frames)) // a full disk, a file-size limit: errno says which
        writeError_ = errno != 0 ? lastSystemError() : std::make_error_code(std::errc::io_error);
    return writeError_;
}

void TakeFile::updateHeader() {
    if (file_) sf_command(file_, SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

std::error_code TakeFile::placeAt(const fs::path& target) {
    if (const std::error_code error = finish()) return error;
    if (!placed_) {
        if (::fchmod(descriptor_, newFileMode()) != 0) return lastSystemError();
        if (::rename(path_.c_str(), target.c_str()) == 0) return placedAt(target);
        if (errno != EXDEV) return lastSystemError();
    }
    if (const std::error_code error = copyOver(path_, target, folder_)) return error;
    // The take is at the target; should its file in the take folder stay, the next start only
    // finds it again.
    if (!placed_) ::unlink(path_.c_str());
    return placedAt(target);
}

std::error_code TakeFile::placedAt(const fs::path& target) {
    placed_ = true;
    path_ = target;
    return {};
}

} // namespace murmora::audio
