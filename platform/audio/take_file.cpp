#include "platform/audio/take_file.h"

#include <sndfile.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <string>
#include <unistd.h>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

std::error_code lastSystemError() { return {errno, std::system_category()}; }

// Opens a file of a name no other take uses, with the permissions of any new file of the user.
int createUniqueFile(const fs::path& folder, fs::path& path, std::error_code& error) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        path = folder / ("take-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".wav");
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            ::flock(fd, LOCK_EX); // held until the file is closed: the take is in use
        if (fd >= 0 || errno != EEXIST) {
            if (fd < 0)
                error = lastSystemError();
            return fd;
        }
    }
}

bool syncPath(const fs::path& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// Whether some process holds the take at `path` open as a TakeFile.
bool takeIsHeld(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true; // gone, or not ours to read: leave it alone
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

} // namespace

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
    if (const char* home = std::getenv("HOME"); home && *home)
        return fs::path(home) / ".cache" / "murmora" / "takes";
    return fs::path("/var/tmp") / "murmora-takes";
}

std::unique_ptr<TakeFile> TakeFile::create(const fs::path& folder, const StreamFormat& format,
                                           std::error_code& error) {
    fs::create_directories(folder, error);
    if (error)
        return nullptr;
    fs::path path;
    const int fd = createUniqueFile(folder, path, error);
    if (fd < 0)
        return nullptr;
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    // RF64 that libsndfile writes as a plain WAV for as long as the take stays under 4 GB.
    info.format = SF_FORMAT_RF64 | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE);
    if (!file) {
        error = std::make_error_code(std::errc::io_error);
        ::close(fd);
        fs::remove(path);
        return nullptr;
    }
    sf_command(file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
    std::unique_ptr<TakeFile> take(new TakeFile(path, file));
    take->updateHeader();
    return take;
}

TakeFile::TakeFile(fs::path path, SNDFILE* file)
    : path_(std::move(path)), file_(file) {}

TakeFile::~TakeFile() {
    if (file_)
        sf_close(file_);
    if (!placed_) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
}

bool TakeFile::append(const std::int16_t* samples, std::size_t frames) {
    if (writeFailed_ || !file_)
        return false;
    const sf_count_t written = sf_writef_short(file_, samples, static_cast<sf_count_t>(frames));
    frames_ += written;
    writeFailed_ = written != static_cast<sf_count_t>(frames);
    return !writeFailed_;
}

void TakeFile::updateHeader() {
    if (file_)
        sf_command(file_, SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

bool TakeFile::placeAt(const fs::path& target, std::error_code& error) {
    error.clear();
    if (!placed_ && ::rename(path_.c_str(), target.c_str()) == 0) {
        sf_close(file_); // writes the final header into the file, now at its new name
        file_ = nullptr;
    } else {
        if (!placed_ && errno != EXDEV) {
            error = lastSystemError();
            return false;
        }
        updateHeader();
        if (!copyTo(target, error))
            return false;
        if (file_) {
            sf_close(file_);
            file_ = nullptr;
        }
        std::error_code ignored;
        if (!placed_)
            fs::remove(path_, ignored);
    }
    placed_ = true;
    path_ = target;
    return true;
}

// Copies into a hidden file beside the target, syncs it, then renames it over the target, so
// that the target is either the whole take or untouched.
bool TakeFile::copyTo(const fs::path& target, std::error_code& error) {
    fs::path partial = target;
    partial.replace_filename("." + target.filename().string() + ".part-" + std::to_string(::getpid()));
    const bool copied = fs::copy_file(path_, partial, fs::copy_options::overwrite_existing, error) &&
                        syncPath(partial, O_RDONLY);
    if (copied && ::rename(partial.c_str(), target.c_str()) == 0) {
        syncPath(target.has_parent_path() ? target.parent_path() : fs::path("."), O_RDONLY | O_DIRECTORY);
        return true;
    }
    if (!error)
        error = lastSystemError();
    std::error_code ignored;
    fs::remove(partial, ignored);
    return false;
}

} // namespace murmora::audio
