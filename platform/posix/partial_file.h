#pragma once
#include "core/result.h"

#include <filesystem>
#include <memory>
#include <sys/types.h>
#include <system_error>
#include <vector>

namespace murmora::posix {

// The reason errno holds now.
std::error_code lastSystemError();

// Writes all of `bytes` at the file's offset, going on after partial writes and interruptions.
std::error_code writeAll(int fd, const void* data, std::size_t bytes);

// The permissions the user gives a new file: 0666 less the umask, read without changing it.
mode_t newFileMode();

// Syncs the folder's entries to disk.
std::error_code syncFolder(const std::filesystem::path& folder);

// Renames `from` to `to` unless a file has that name already (errc::file_exists then).
std::error_code renameUnlessTaken(const std::filesystem::path& from, const std::filesystem::path& to);

// A file written beside its target under a hidden name of its own, made exclusively (never an
// existing name, never through a link). It takes the target's place only once it is complete
// and on disk, so that the target is either the whole new file or untouched; until then,
// destroying it removes it, and nothing else.
class PartialFile {
public:
    // `prefix` begins the hidden name (".murmora-save-" and the like). With a `noteFolder`, the
    // name is noted there before the file is made, in a note locked while the file lives, so
    // that should the program end in the middle, the next start removes the file
    // (removeUnfinishedPartialFiles); the note also names `savedTake`, the take being saved.
    // A note that cannot be written (a folder with no room left) does not stop the file.
    static Result<std::unique_ptr<PartialFile>> createBeside(const std::filesystem::path& target, const char* prefix,
                                                             const std::filesystem::path& noteFolder = {},
                                                             const std::filesystem::path& savedTake = {});
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    // Open for reading and writing until replaceTarget().
    int descriptor() const { return descriptor_; }
    const std::filesystem::path& path() const { return path_; }
    // Gives the file the permissions of a new file, syncs and closes it, renames it over the
    // target and syncs the folder. On failure the file is removed and the target stays as it was.
    std::error_code replaceTarget();
    // As replaceTarget(), but takes the target's name only while no file has it: a file there
    // stays, and the copy goes (errc::file_exists).
    std::error_code becomeTarget();

private:
    struct Note;
    PartialFile(std::filesystem::path path, std::filesystem::path target, int descriptor, std::unique_ptr<Note> note);
    std::error_code place(bool replacing);
    void remove();

    std::filesystem::path path_;
    std::filesystem::path target_;
    int descriptor_;
    dev_t device_ = 0; // what was made here, so that a file put in its place since is left alone
    ino_t inode_ = 0;
    std::unique_ptr<Note> note_;
    bool done_ = false;
};

// Removes each partial file that a note in `noteFolder` names and no running program holds, then
// the note. A note's file is removed only while it is a regular file of this user's with a hidden
// name of the program's (".murmora-"); anything else it names is left alone, and so is a note that
// names nothing yet. Answers the takes those notes named: the takes whose saves did not finish.
std::vector<std::filesystem::path> removeUnfinishedPartialFiles(const std::filesystem::path& noteFolder);

} // namespace murmora::posix
