#pragma once
// What the engine's files (takes, and the files it plays) ask of the operating system.
// take_file_posix.cpp and take_file_win32.cpp answer it; the build takes the one of its system.
#include "core/date_time.h"
#include "core/result.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

typedef struct sf_private_tag SNDFILE;
struct SF_INFO;

namespace murmora::audio::takefs {

// Makes each missing folder of `folder`, and accepts `folder` only when it is a folder (not a link
// to one) for this user alone; else fails, with refusedFolder() saying which it is when the
// folder is a link, someone else's or no folder. On Linux the folders made are 0700, and the folder is made so when it is
// open to others; on Windows a folder in the user's profile is the user's alone already.
std::error_code prepareFolder(const std::filesystem::path& folder);

// A new file for a take, of a name no other take uses, for this user alone, open and locked: the
// lock, held until the file is closed, tells that the take is in use. Its descriptor is one
// libsndfile can write through (sf_open_fd) without owning it.
struct LockedFile {
    std::filesystem::path path;
    int descriptor;
};
Result<LockedFile> createLocked(const std::filesystem::path& folder);
void close(int descriptor);
void remove(const std::filesystem::path& path);

// Whether some process holds the take at `path` open and locked.
bool isHeld(const std::filesystem::path& path);

// When the file at `path` was last written, as the local wall clock read then; 0 when unknown.
DateTime lastWritten(const std::filesystem::path& path);

// Removes the partial files of saves (copies and encodings) that a run of the program left
// unfinished, as far as the system leaves that to the program: on Linux those noted in
// `takeFolder` (see copyOver), answering the takes whose saves they were; on Windows the system
// removes them itself when the program ends, and none is answered.
std::vector<std::filesystem::path> removeUnfinishedSaves(const std::filesystem::path& takeFolder);

// Renames the take at `from`, open as `descriptor`, to `target`, and gives it the permissions of
// any new file of the user. Fails with an error equal to errc::cross_device_link when `target`
// is on another file system or drive.
std::error_code moveTo(int descriptor, const std::filesystem::path& from, const std::filesystem::path& target);

// Copies the file at `from` into a new file beside `target`, syncs it, and only then puts it in
// the target's place: the target is either the whole take or untouched. When a step fails, the
// file made here is removed, and nothing else. Should the program end meanwhile, the new file
// goes too: on Linux it is noted in `noteFolder` while the copy runs, and the next start removes
// it; on Windows it is marked for deletion until it is complete, so that the system deletes it
// when the program ends.
// With AtTarget::keep, the copy takes the target's name only while no file has it: a file there
// stays, and the copy goes (errc::file_exists).
enum class AtTarget {
    replace,
    keep
};
std::error_code copyOver(const std::filesystem::path& from, const std::filesystem::path& target,
                         const std::filesystem::path& noteFolder, AtTarget atTarget);

// Puts a take an earlier run left in the take folder at `target` as a save puts a take: synced
// to disk, with the permissions of any new file of the user; never over an existing file
// (errc::file_exists). On another file system or drive it is copied as copyOver copies, then
// removed. On failure it stays where it was.
std::error_code placeLeftover(const std::filesystem::path& take, const std::filesystem::path& target,
                              const std::filesystem::path& noteFolder);

// A file an encoding is written into, beside `target` under a hidden name of its own (made
// exclusively, never an existing name), that takes the target's place only once it is complete
// and on disk: the target is either the whole new file or untouched. Destroyed before, or when
// replaceTarget fails, it is removed, and nothing else. Should the program end meanwhile, it goes
// as copyOver's copy does: on Linux noted in the folder of `take`, the take it encodes.
class PartialOutput {
public:
    virtual ~PartialOutput() = default;
    // All of `bytes`, or the system's reason why not (a full disk among them).
    virtual std::error_code write(const void* data, std::size_t bytes) = 0;
    // As the C library's read and lseek (whence: SEEK_SET, SEEK_CUR, SEEK_END); -1 on failure.
    virtual std::int64_t read(void* data, std::int64_t bytes) = 0;
    virtual std::int64_t seek(std::int64_t offset, int whence) = 0;
    virtual std::int64_t length() = 0;
    // Syncs the file and renames it over the target, with the permissions of any new file.
    virtual std::error_code replaceTarget() = 0;
};
Result<std::unique_ptr<PartialOutput>> createPartialOutput(const std::filesystem::path& target,
                                                           const std::filesystem::path& take);

// libsndfile's sf_open for a file of any name: on Windows through its wide name.
SNDFILE* openSoundFile(const std::filesystem::path& path, int mode, SF_INFO* info);

// The reason a system call gave for its failure (errno, or GetLastError on Windows), for calls
// into libsndfile, which keeps it: clear it before the call, read it after.
void clearLastError();
std::error_code lastErrorOr(std::errc fallback);

} // namespace murmora::audio::takefs
