#pragma once
// What a take file asks of the operating system. take_file_posix.cpp and take_file_win32.cpp
// answer it; the build takes the one of its system.
#include "core/result.h"

#include <filesystem>
#include <system_error>

namespace murmora::audio::takefs {

// Makes each missing folder of `folder` for this user alone, and accepts `folder` only when it
// is a folder (not a link to one) that this user owns, closed to everyone else; else fails,
// with takeFolderCategory() when the folder is someone else's or a link.
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

// Renames the take at `from`, open as `descriptor`, to `target`, and gives it the permissions of
// any new file of the user. Fails with an error equal to errc::cross_device_link when `target`
// is on another file system or drive.
std::error_code moveTo(int descriptor, const std::filesystem::path& from, const std::filesystem::path& target);

// Copies the file at `from` into a new file beside `target`, syncs it, and only then puts it in
// the target's place: the target is either the whole take or untouched. When a step fails, the
// file made here is removed, and nothing else.
std::error_code copyOver(const std::filesystem::path& from, const std::filesystem::path& target);

// The reason a system call gave for its failure (errno, or GetLastError on Windows), for calls
// into libsndfile, which keeps it: clear it before the call, read it after.
void clearLastError();
std::error_code lastErrorOr(std::errc fallback);

} // namespace murmora::audio::takefs
