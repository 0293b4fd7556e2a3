// The engine's files on Windows: share modes and LockFileEx for the live take, MoveFileExW and
// FlushFileBuffers for the save, wide names throughout.
#include "engine/take_file.h"
#include "engine/take_file_system.h"
#include "platform/wide/wide.h"

#include <io.h>
#include <knownfolders.h>
#include <shlobj.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <utility>
#include <vector>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

constexpr DWORD kCopyChunk = 1 << 20;

// The byte a live take holds locked: far past any end a take reaches, so that reading the take
// from another program (a copy of it mid-take) never touches a locked range.
constexpr DWORD kLockOffsetHigh = 0x40000000;

OVERLAPPED lockPosition() {
    OVERLAPPED position{};
    position.OffsetHigh = kLockOffsetHigh;
    return position;
}

// ERROR_NOT_SAME_DEVICE is Windows' EXDEV: the error TakeFile copies on.
std::error_code moveError(DWORD code) {
    return code == ERROR_NOT_SAME_DEVICE ? std::make_error_code(std::errc::cross_device_link) : win32Error(code);
}

bool isThere(const fs::path& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Where the system finds `path` once every link on the way is followed.
Result<std::wstring> finalPath(const fs::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastWin32Error();
    std::wstring resolved(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    if (length >= resolved.size()) {
        resolved.resize(length);
        length = GetFinalPathNameByHandleW(handle, resolved.data(), static_cast<DWORD>(resolved.size()), 0);
    }
    const std::error_code error = length == 0 || length >= resolved.size() ? lastWin32Error() : std::error_code();
    CloseHandle(handle);
    if (error) return error;
    resolved.resize(length);
    while (resolved.size() > 1 && resolved.back() == L'\\')
        resolved.pop_back();
    return resolved;
}

// A reparse point is a link (symbolic link, junction) when following it leads somewhere other
// than the folder's own place in its parent; a mounted drive leaves it where it is.
std::error_code refuseLeadingElsewhere(const fs::path& folder) {
    const fs::path absolute = fs::absolute(folder).lexically_normal();
    const Result<std::wstring> itself = finalPath(absolute);
    if (!itself) return itself.error();
    const Result<std::wstring> parent = finalPath(absolute.parent_path());
    if (!parent) return parent.error();
    const std::wstring inPlace = *parent + L"\\" + absolute.filename().wstring();
    const bool same = CompareStringOrdinal(itself->c_str(), -1, inPlace.c_str(), -1, TRUE) == CSTR_EQUAL;
    return same ? std::error_code() : refusedFolder(TakeFolderRefusal::link);
}

// Windows refuses to replace a read-only file (Wine 8 replaces it): the take never goes over one.
std::error_code replaceable(const fs::path& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return win32Error(ERROR_ACCESS_DENIED);
    return {};
}

std::error_code copyInto(const fs::path& from, HANDLE out) {
    const HANDLE in = CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return lastWin32Error();
    std::vector<char> chunk(kCopyChunk);
    std::error_code error;
    for (DWORD got = 1; got != 0 && !error;) {
        DWORD put = 0;
        if (!ReadFile(in, chunk.data(), kCopyChunk, &got, nullptr) ||
            (got != 0 && (!WriteFile(out, chunk.data(), got, &put, nullptr) || put != got)))
            error = lastWin32Error();
    }
    CloseHandle(in);
    if (!error && !FlushFileBuffers(out)) error = lastWin32Error();
    return error;
}

// Whether the system deletes the file open as `file` once its last handle closes, as it does
// when the program ends.
bool markForDeletion(HANDLE file, bool deleted) {
    FILE_DISPOSITION_INFO disposition{deleted};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// A new file beside `target` that no other file had the name of, open for writing and to be
// renamed or deleted through its handle.
HANDLE createPartial(const fs::path& target, fs::path& partial, const wchar_t* prefix = L".murmora-save-") {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device random;
    for (;;) {
        wchar_t name[40];
        swprintf(name, 40, L"%ls%08x", prefix, static_cast<unsigned>(random()));
        partial = folder / name;
        const HANDLE out = CreateFileW(partial.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                       nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return out;
    }
}

// An encoding's file, marked for deletion until it is complete, as copyOver's copy.
class Win32PartialOutput final : public takefs::PartialOutput {
public:
    Win32PartialOutput(HANDLE file, fs::path path, fs::path target)
        : file_(file), path_(std::move(path)), target_(std::move(target)) {}
    ~Win32PartialOutput() override {
        if (file_ == INVALID_HANDLE_VALUE) return;
        markForDeletion(file_, true);
        CloseHandle(file_);
    }
    Win32PartialOutput(const Win32PartialOutput&) = delete;
    Win32PartialOutput& operator=(const Win32PartialOutput&) = delete;

    std::error_code write(const void* data, std::size_t bytes) override {
        const auto* from = static_cast<const char*>(data);
        for (std::size_t done = 0; done < bytes;) {
            DWORD put = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes - done, kCopyChunk));
            if (!WriteFile(file_, from + done, chunk, &put, nullptr)) return lastWin32Error();
            if (put == 0) return win32Error(ERROR_WRITE_FAULT);
            done += put;
        }
        return {};
    }
    std::int64_t read(void* data, std::int64_t bytes) override {
        DWORD got = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::int64_t>(bytes, kCopyChunk));
        return ReadFile(file_, data, chunk, &got, nullptr) ? got : -1;
    }
    std::int64_t seek(std::int64_t offset, int whence) override {
        LARGE_INTEGER distance{};
        distance.QuadPart = offset;
        LARGE_INTEGER position{};
        const DWORD method = whence == SEEK_END ? FILE_END : whence == SEEK_CUR ? FILE_CURRENT : FILE_BEGIN;
        return SetFilePointerEx(file_, distance, &position, method) ? position.QuadPart : -1;
    }
    std::int64_t length() override {
        LARGE_INTEGER size{};
        return GetFileSizeEx(file_, &size) ? size.QuadPart : -1;
    }
    std::error_code replaceTarget() override {
        if (const std::error_code refused = replaceable(target_)) return refused;
        if (!FlushFileBuffers(file_) || !markForDeletion(file_, false)) return lastWin32Error();
        if (!MoveFileExW(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const std::error_code error = lastWin32Error();
            return error; // the destructor marks it again: only the file made here goes
        }
        CloseHandle(std::exchange(file_, INVALID_HANDLE_VALUE));
        return {};
    }

private:
    HANDLE file_;
    fs::path path_;
    fs::path target_;
};

} // namespace

fs::path defaultTakeFolder() {
    wchar_t* local = nullptr;
    fs::path base;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &local))) {
        base = local;
    } else {
        wchar_t temp[MAX_PATH + 1];
        base = GetTempPathW(MAX_PATH + 1, temp) ? temp : L".";
    }
    CoTaskMemFree(local);
    return base / L"Murmora" / L"takes";
}

namespace takefs {

// The user's profile, where the take folder is, lets the user alone in (with the system and the
// administrators): the folders made here inherit that.
std::error_code prepareFolder(const fs::path& folder) {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (!isThere(made) && !CreateDirectoryW(made.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            return lastWin32Error();
    }
    const DWORD kind = GetFileAttributesW(folder.c_str());
    if (kind == INVALID_FILE_ATTRIBUTES) return lastWin32Error();
    if (!(kind & FILE_ATTRIBUTE_DIRECTORY)) return refusedFolder(TakeFolderRefusal::notAFolder);
    // A drive mounted at the folder is a reparse point too, and a place of the user's own.
    if (kind & FILE_ATTRIBUTE_REPARSE_POINT) return refuseLeadingElsewhere(folder);
    return {};
}

// Others may read the take (a copy of it mid-take) but not write it; it may be renamed or
// deleted while open, as the save does. A take that cannot be locked would be taken for one
// left behind by the next start: it is not made.
Result<LockedFile> createLocked(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        fs::path path =
            folder / ("take-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++) + ".wav");
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        if (file == INVALID_HANDLE_VALUE) return lastWin32Error();
        OVERLAPPED position = lockPosition();
        const int descriptor = LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &position)
                                   ? _open_osfhandle(reinterpret_cast<intptr_t>(file), 0)
                                   : -1;
        if (descriptor < 0) {
            const std::error_code error = lastWin32Error();
            CloseHandle(file);
            DeleteFileW(path.c_str());
            return error;
        }
        return LockedFile{std::move(path), descriptor};
    }
}

void close(int descriptor) { _close(descriptor); }

void remove(const fs::path& path) { DeleteFileW(path.c_str()); }

bool isHeld(const fs::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return true; // gone, or not ours to read: leave it alone
    OVERLAPPED position = lockPosition();
    const bool held = !LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &position);
    if (!held) UnlockFileEx(file, 0, 1, 0, &position);
    CloseHandle(file);
    return held;
}

DateTime lastWritten(const fs::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    SYSTEMTIME universal{};
    SYSTEMTIME local{};
    // Local time with the daylight saving of the day the file was written, not of today.
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        !FileTimeToSystemTime(&attributes.ftLastWriteTime, &universal) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local))
        return 0;
    using namespace std::chrono;
    const sys_days date{year{local.wYear} / month{local.wMonth} / day{local.wDay}};
    return date.time_since_epoch() / seconds(1) + local.wHour * 3600 + local.wMinute * 60 + local.wSecond;
}

// The system deletes the partial copy of a save when the program ends (copyOver).
std::vector<fs::path> removeUnfinishedSaves(const fs::path&) { return {}; }

// The take has the permissions of any new file in the user's profile already.
std::error_code moveTo(int, const fs::path& from, const fs::path& target) {
    if (const std::error_code refused = replaceable(target)) return refused;
    if (!MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return moveError(GetLastError());
    return {};
}

// The copy is marked for deletion until it is complete: whatever ends the program meanwhile, the
// system removes it. When a step fails, the mark is set again through the handle: whatever the
// name holds by then, only the file made here goes.
std::error_code copyOver(const fs::path& from, const fs::path& target, const fs::path&, AtTarget atTarget) {
    if (const std::error_code refused = replaceable(target)) return refused;
    const DWORD replacing = atTarget == AtTarget::replace ? MOVEFILE_REPLACE_EXISTING : 0;
    fs::path partial;
    const HANDLE out = createPartial(target, partial);
    if (out == INVALID_HANDLE_VALUE) return lastWin32Error();
    std::error_code error = markForDeletion(out, true) ? copyInto(from, out) : lastWin32Error();
    if (!error && !markForDeletion(out, false)) error = lastWin32Error();
    if (!error && !MoveFileExW(partial.c_str(), target.c_str(), replacing | MOVEFILE_WRITE_THROUGH))
        error = lastWin32Error();
    if (error) markForDeletion(out, true);
    CloseHandle(out);
    return error;
}

std::error_code placeLeftover(const fs::path& take, const fs::path& target, const fs::path& noteFolder) {
    const HANDLE file = CreateFileW(take.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastWin32Error();
    const std::error_code unsynced = FlushFileBuffers(file) ? std::error_code() : lastWin32Error();
    CloseHandle(file);
    if (unsynced) return unsynced;
    if (MoveFileExW(take.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return {};
    const std::error_code moved = moveError(GetLastError());
    if (moved != std::errc::cross_device_link) return moved;
    if (const std::error_code copied = copyOver(take, target, noteFolder, AtTarget::keep)) return copied;
    DeleteFileW(take.c_str());
    return {};
}

Result<std::unique_ptr<PartialOutput>> createPartialOutput(const fs::path& target, const fs::path&) {
    fs::path partial;
    const HANDLE out = createPartial(target, partial, L".murmora-encode-");
    if (out == INVALID_HANDLE_VALUE) return lastWin32Error();
    if (!markForDeletion(out, true)) {
        const std::error_code error = lastWin32Error();
        CloseHandle(out);
        DeleteFileW(partial.c_str());
        return error;
    }
    return std::unique_ptr<PartialOutput>(std::make_unique<Win32PartialOutput>(out, std::move(partial), target));
}

SNDFILE* openSoundFile(const fs::path& path, int mode, SF_INFO* info) {
    return sf_wchar_open(path.c_str(), mode, info);
}

void clearLastError() { SetLastError(ERROR_SUCCESS); }

std::error_code lastErrorOr(std::errc fallback) {
    const DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? win32Error(code) : std::make_error_code(fallback);
}

} // namespace takefs
} // namespace murmora::audio
