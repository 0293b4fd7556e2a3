#include "platform/audio/take_file.h"

#include "platform/posix/partial_file.h"

#include <sndfile.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
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

// Whether some process holds the take at `path` open as a TakeFile.
bool takeIsHeld(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return true; // gone, or not ours to read: leave it alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Copies the take at `from` into a new hidden file beside `target`, synced before it replaces
// the target: the target is either the whole take or untouched.
std::error_code copyOver(const fs::path& from, const fs::path& target) {
    auto partial = posix::PartialFile::createBeside(target, ".murmora-save-");
    if (!partial) return partial.error();
    const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return lastSystemError();
    std::error_code error;
    for (ssize_t sent = 1; sent != 0 && !error;) {
        sent = ::sendfile((*partial)->descriptor(), in, nullptr, kCopyChunk);
        if (sent < 0 && errno != EINTR) error = lastSystemError();
    }
    ::close(in);
    return error ? error : (*partial)->replaceTarget();
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
    : path_(std::move(path)), descriptor_(descriptor), file_(file) {}

TakeFile::~TakeFile() {
    // An unplaced take is removed: its final header does not matter.
    static_cast<void>(finish());
    ::close(descriptor_);
    if (!placed_ && !keptForRecovery_) ::unlink(path_.c_str());
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
    if (const std::error_code error = copyOver(path_, target)) return error;
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
