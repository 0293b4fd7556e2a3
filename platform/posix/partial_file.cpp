#include "platform/posix/partial_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::posix {
namespace fs = std::filesystem;

std::error_code syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    std::error_code error = ::fsync(fd) == 0 ? std::error_code() : lastSystemError();
    if (::close(fd) != 0 && !error) error = lastSystemError();
    return error;
}

std::error_code renameUnlessTaken(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno != EINVAL && errno != ENOSYS) return lastSystemError();
    // A file system without the flag: the second name is made exclusively, then the first goes.
    if (::link(from.c_str(), to.c_str()) != 0) return lastSystemError();
    ::unlink(from.c_str());
    return {};
}

namespace {

const std::string kPartialPrefix = ".murmora-";
const std::string kNotePrefix = "unfinished-save-";

fs::path folderOf(const fs::path& target) { return target.has_parent_path() ? target.parent_path() : fs::path("."); }

std::string randomLetters(std::size_t count) {
    static const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::string made;
    for (std::size_t i = 0; i < count; ++i)
        made += letters[pick(random)];
    return made;
}

// Writes the whole text over what the file held.
std::error_code writeWhole(int fd, const std::string& text) {
    if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) return lastSystemError();
    return writeAll(fd, text.data(), text.size());
}

std::string readWhole(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
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

// A note in the note folder, locked while its partial file lives, naming that file.
struct PartialFile::Note {
    fs::path path;
    int descriptor;

    Note(fs::path notePath, int noteDescriptor) : path(std::move(notePath)), descriptor(noteDescriptor) {}
    Note(const Note&) = delete;
    Note& operator=(const Note&) = delete;

    static std::unique_ptr<Note> create(const fs::path& folder) {
        std::string path = (folder / (kNotePrefix + "XXXXXX")).string();
        const int fd = ::mkostemp(path.data(), O_CLOEXEC);
        if (fd < 0) return nullptr;
        auto note = std::make_unique<Note>(path, fd);
        if (::flock(fd, LOCK_EX) != 0) return nullptr; // the note goes with `note`
        return note;
    }
    ~Note() {
        ::unlink(path.c_str());
        ::close(descriptor);
    }
};

std::error_code lastSystemError() { return {errno, std::system_category()}; }

std::error_code writeAll(int fd, const void* data, std::size_t bytes) {
    const auto* from = static_cast<const char*>(data);
    for (std::size_t done = 0; done < bytes;) {
        const ssize_t written = ::write(fd, from + done, bytes - done);
        if (written >= 0)
            done += static_cast<std::size_t>(written);
        else if (errno != EINTR)
            return lastSystemError();
    }
    return {};
}

mode_t newFileMode() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 0644;
}

Result<std::unique_ptr<PartialFile>> PartialFile::createBeside(const fs::path& target, const char* prefix,
                                                               const fs::path& noteFolder, const fs::path& savedTake) {
    // Without a note (none asked for, or its folder has no room left) the file is made all the same.
    std::unique_ptr<Note> note = noteFolder.empty() ? nullptr : Note::create(noteFolder);
    std::error_code unknown;
    fs::path folder = fs::absolute(folderOf(target), unknown);
    if (unknown) folder = folderOf(target);
    for (;;) {
        const fs::path path = folder / (std::string(prefix) + randomLetters(6));
        // Noted before it is made: a program ended between the two leaves a note of nothing.
        if (note && writeWhole(note->descriptor, path.string() + "\n" + savedTake.string())) note.reset();
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return lastSystemError();
        return std::unique_ptr<PartialFile>(new PartialFile(path, target, fd, std::move(note)));
    }
}

PartialFile::PartialFile(fs::path path, fs::path target, int descriptor, std::unique_ptr<Note> note)
    : path_(std::move(path)), target_(std::move(target)), descriptor_(descriptor), note_(std::move(note)) {
    struct stat made {};
    if (::fstat(descriptor_, &made) == 0) {
        device_ = made.st_dev;
        inode_ = made.st_ino;
    }
}

PartialFile::~PartialFile() { remove(); }

std::error_code PartialFile::replaceTarget() { return place(true); }

std::error_code PartialFile::becomeTarget() { return place(false); }

std::error_code PartialFile::place(bool replacing) {
    std::error_code error;
    if (::fchmod(descriptor_, newFileMode()) != 0 || ::fsync(descriptor_) != 0) error = lastSystemError();
    if (::close(descriptor_) != 0 && !error) error = lastSystemError();
    descriptor_ = -1;
    if (!error && replacing && ::rename(path_.c_str(), target_.c_str()) != 0) error = lastSystemError();
    if (!error && !replacing) error = renameUnlessTaken(path_, target_);
    if (error) {
        remove();
        return error;
    }
    done_ = true;
    note_.reset();
    // The file is in place; a folder entry not yet on disk follows with the next sync.
    static_cast<void>(syncFolder(folderOf(target_)));
    return {};
}

void PartialFile::remove() {
    if (descriptor_ >= 0) ::close(descriptor_);
    descriptor_ = -1;
    if (!done_) {
        done_ = true;
        struct stat now {};
        if (::lstat(path_.c_str(), &now) == 0 && now.st_dev == device_ && now.st_ino == inode_) ::unlink(path_.c_str());
    }
    note_.reset();
}

std::vector<fs::path> removeUnfinishedPartialFiles(const fs::path& noteFolder) {
    std::vector<fs::path> unsaved;
    std::error_code error;
    for (fs::directory_iterator entry(noteFolder, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path& note = entry->path();
        if (note.filename().string().rfind(kNotePrefix, 0) != 0) continue;
        const int fd = ::open(note.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        // A note that is held belongs to a file being written; one that names nothing yet may be
        // one about to be held.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            // The partial file's name, then the take's on the next line.
            if (const std::string named = readWhole(fd); !named.empty()) {
                const auto end = named.find('\n');
                removeNamedPartialFile(named.substr(0, end));
                if (end != std::string::npos && end + 1 < named.size()) unsaved.emplace_back(named.substr(end + 1));
                ::unlink(note.c_str());
            }
        }
        ::close(fd);
    }
    return unsaved;
}

} // namespace murmora::posix
