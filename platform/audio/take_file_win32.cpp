// The take file's side of the system on Windows: share modes and LockFileEx for the live take,
// MoveFileExW and FlushFileBuffers for the save, a folder that only the user may enter.
#include "platform/audio/take_file.h"
#include "platform/audio/take_file_system.h"
#include "platform/win32/wide.h"

#include <aclapi.h>
#include <io.h>
#include <knownfolders.h>
#include <sddl.h>
#include <shlobj.h>

#include <atomic>
#include <memory>
#include <random>
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

// The Windows counterpart of a missing file's EXDEV: the error TakeFile knows to copy on.
std::error_code moveError(DWORD code) {
    return code == ERROR_NOT_SAME_DEVICE ? std::make_error_code(std::errc::cross_device_link) : win32Error(code);
}

struct LocalFreer {
    void operator()(void* memory) const { LocalFree(memory); }
};

// The security identifier of the user this process runs as.
std::vector<BYTE> currentUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    const bool read = size > 0 && GetTokenInformation(token, TokenUser, user.data(), size, &size);
    CloseHandle(token);
    if (!read) return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    return {static_cast<BYTE*>(sid), static_cast<BYTE*>(sid) + GetLengthSid(sid)};
}

// A security descriptor that lets the user alone in, passed on to what is made inside: the
// counterpart of mode 0700.
std::unique_ptr<void, LocalFreer> userOnlyDescriptor(const std::vector<BYTE>& user) {
    wchar_t* text = nullptr;
    if (user.empty() || !ConvertSidToStringSidW(const_cast<BYTE*>(user.data()), &text)) return nullptr;
    const std::wstring sddl = L"D:P(A;OICI;FA;;;" + std::wstring(text) + L")";
    LocalFree(text);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        return nullptr;
    return std::unique_ptr<void, LocalFreer>(descriptor);
}

PACL daclOf(PSECURITY_DESCRIPTOR descriptor) {
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    return present ? dacl : nullptr;
}

// Whether `dacl` is the protected one of userOnlyDescriptor: one entry, the user's.
bool isUserOnly(PSECURITY_DESCRIPTOR descriptor, const std::vector<BYTE>& user) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    const PACL dacl = daclOf(descriptor);
    void* entry = nullptr;
    if (!dacl || dacl->AceCount != 1 || !GetSecurityDescriptorControl(descriptor, &control, &revision) ||
        !(control & SE_DACL_PROTECTED) || !GetAce(dacl, 0, &entry))
        return false;
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    return allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
           EqualSid(const_cast<DWORD*>(&allowed->SidStart), const_cast<BYTE*>(user.data()));
}

bool isThere(const fs::path& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Lets the file at `path` take the permissions a new file in its folder gets: those it inherits.
void inheritFromFolder(const fs::path& path) {
    ACL empty{};
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                          DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, &empty,
                          nullptr);
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

// A new file beside `target` that no other file had the name of, open for writing and to be
// renamed or deleted through its handle.
HANDLE createPartial(const fs::path& target, fs::path& partial) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::random_device random;
    for (;;) {
        wchar_t name[32];
        swprintf(name, 32, L".murmora-save-%08x", static_cast<unsigned>(random()));
        partial = folder / name;
        const HANDLE out = CreateFileW(partial.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return out;
    }
}

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

std::error_code prepareFolder(const fs::path& folder) {
    const std::vector<BYTE> user = currentUser();
    const auto userOnly = userOnlyDescriptor(user);
    if (!userOnly) return lastWin32Error();
    SECURITY_ATTRIBUTES attributes{sizeof attributes, userOnly.get(), FALSE};
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (!isThere(made) && !CreateDirectoryW(made.c_str(), &attributes) && GetLastError() != ERROR_ALREADY_EXISTS)
            return lastWin32Error();
    }
    const DWORD kind = GetFileAttributesW(folder.c_str());
    if (kind == INVALID_FILE_ATTRIBUTES) return lastWin32Error();
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR security = nullptr;
    const DWORD read = GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT,
                                             OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                                             nullptr, nullptr, &security);
    if (read != ERROR_SUCCESS) return win32Error(read);
    const std::unique_ptr<void, LocalFreer> held(security);
    if (!(kind & FILE_ATTRIBUTE_DIRECTORY) || (kind & FILE_ATTRIBUTE_REPARSE_POINT) || !owner ||
        !EqualSid(owner, const_cast<BYTE*>(user.data())))
        return {1, takeFolderCategory()};
    if (isUserOnly(security, user)) return {};
    const DWORD closed = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                               DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                               nullptr, nullptr, daclOf(userOnly.get()), nullptr);
    return closed == ERROR_SUCCESS ? std::error_code() : win32Error(closed);
}

// Others may read the take (a copy of it mid-take) but not write it; it may be renamed or
// deleted while open, as the save does. A take that cannot be locked would be taken for one
// left behind by the next start: it is not made.
Result<LockedFile> createLocked(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        fs::path path = folder / ("take-" + std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(counter++) + ".wav");
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

std::error_code moveTo(int, const fs::path& from, const fs::path& target) {
    if (!MoveFileExW(from.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return moveError(GetLastError());
    // The take kept the take folder's permissions (the user's alone) on its way; should the folder
    // pass on none, it keeps them.
    inheritFromFolder(target);
    return {};
}

std::error_code copyOver(const fs::path& from, const fs::path& target) {
    fs::path partial;
    const HANDLE out = createPartial(target, partial);
    if (out == INVALID_HANDLE_VALUE) return lastWin32Error();
    std::error_code error = copyInto(from, out);
    if (!error && !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastWin32Error();
    if (error) {
        // Through the handle: whatever the name now holds, only the file made here goes.
        FILE_DISPOSITION_INFO discard{TRUE};
        SetFileInformationByHandle(out, FileDispositionInfo, &discard, sizeof discard);
    }
    CloseHandle(out);
    return error;
}

void clearLastError() { SetLastError(ERROR_SUCCESS); }

std::error_code lastErrorOr(std::errc fallback) {
    const DWORD code = GetLastError();
    return code != ERROR_SUCCESS ? win32Error(code) : std::make_error_code(fallback);
}

} // namespace takefs
} // namespace murmora::audio
