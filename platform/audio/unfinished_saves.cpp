#include "platform/audio/unfinished_saves.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

const std::string kPartialPrefix = ".murmora-save-";
const std::string kNotePrefix = "unfinished-save-";

std::error_code lastSystemError() { return {errno, std::system_category()}; }

std::string randomLetters(std::size_t count) {
    static const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::string made;
    for (std::size_t i = 0; i < count; ++i)
        made += letters[pick(random)];
    return made;
}

// Writes the whole note over what it held.
std::error_code writeNote(int note, const std::string& text) {
    if (::ftruncate(note, 0) != 0) return lastSystemError();
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::pwrite(note, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return lastSystemError();
        done += static_cast<std::size_t>(n);
    }
    return {};
}

std::string readNote(int note) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(note, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

// Removes the file a note names when it is a partial file of this user's.
void removeNamedPartialFile(const fs::path& partial) {
    struct stat info {};
    if (!partial.is_absolute() || partial.filename().string().rfind(kPartialPrefix, 0) != 0 ||
        ::lstat(partial.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return;
    ::unlink(partial.c_str());
}

} // namespace

Result<NotedPartialFile> NotedPartialFile::create(const fs::path& noteFolder, const fs::path& folder) {
    std::string note = (noteFolder / (kNotePrefix + "XXXXXX")).string();
    int noteDescriptor = ::mkostemp(note.data(), O_CLOEXEC);
    // Without a note (a take folder with no room left) the save still goes on.
    const auto dropNote = [&] {
        if (noteDescriptor < 0) return;
        ::unlink(note.c_str());
        ::close(noteDescriptor);
        noteDescriptor = -1;
    };
    if (noteDescriptor >= 0 && ::flock(noteDescriptor, LOCK_EX) != 0) dropNote();
    std::error_code unknown;
    fs::path absoluteFolder = fs::absolute(folder, unknown);
    if (unknown) absoluteFolder = folder;
    for (;;) {
        const fs::path partial = absoluteFolder / (kPartialPrefix + randomLetters(6));
        if (noteDescriptor >= 0 && writeNote(noteDescriptor, partial.string())) dropNote();
        const int made = ::open(partial.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (made >= 0) return NotedPartialFile(note, noteDescriptor, partial, made);
        if (errno != EEXIST) {
            const std::error_code error = lastSystemError();
            dropNote();
            return error;
        }
    }
}

NotedPartialFile::NotedPartialFile(fs::path note, int noteDescriptor, fs::path path, int descriptor)
    : note_(std::move(note)), noteDescriptor_(noteDescriptor), path_(std::move(path)), descriptor_(descriptor) {}

NotedPartialFile::NotedPartialFile(NotedPartialFile&& other) noexcept
    : note_(std::move(other.note_)), noteDescriptor_(std::exchange(other.noteDescriptor_, -1)),
      path_(std::move(other.path_)), descriptor_(std::exchange(other.descriptor_, -1)) {}

NotedPartialFile::~NotedPartialFile() {
    if (noteDescriptor_ < 0) return;
    ::unlink(note_.c_str());
    ::close(noteDescriptor_);
}

void removeUnfinishedSaves(const fs::path& noteFolder) {
    std::error_code error;
    for (fs::directory_iterator entry(noteFolder, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path& note = entry->path();
        if (note.filename().string().rfind(kNotePrefix, 0) != 0) continue;
        const int fd = ::open(note.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        // A note that is held belongs to a save at work; one that names nothing yet may be
        // one that is about to be held.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (const std::string partial = readNote(fd); !partial.empty()) {
                removeNamedPartialFile(partial);
                ::unlink(note.c_str());
            }
        }
        ::close(fd);
    }
}

} // namespace murmora::audio
