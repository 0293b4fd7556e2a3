#include "platform/win32/win32_files.h"

#include "platform/wide/wide.h"

#include <shlobj.h>

#include <algorithm>

namespace murmora::win32 {

namespace {

constexpr DWORD kNotOrdinary = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string withoutClosingSeparator(std::wstring folder) {
    // "C:\" keeps its separator: without it, it would name the drive's current folder.
    while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    return fromWide(folder);
}

std::error_code writeAll(HANDLE file, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return lastWin32Error();
        done += written;
    }
    return {};
}

} // namespace

bool Win32Files::fileExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotOrdinary) == 0;
}

bool Win32Files::folderExists(const std::string& path) const {
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::error_code Win32Files::removeFile(const std::string& path) {
    // DeleteFileW removes a symbolic link itself, never its target.
    return DeleteFileW(toWide(path).c_str()) ? std::error_code() : lastWin32Error();
}

std::string Win32Files::programFolder() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return withoutClosingSeparator(path.substr(0, path.find_last_of(L"\\/") + 1));
}

std::string Win32Files::libraryFolder() const { return programFolder(); }

std::string Win32Files::homeFolder() const {
    wchar_t* folder = nullptr;
    std::string home;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &folder)))
        home = withoutClosingSeparator(folder);
    CoTaskMemFree(folder);
    // A drive's root is no home: nothing goes there unasked.
    if (!home.empty() && (home.back() == '\\' || home.back() == '/')) home.clear();
    return home;
}

std::string Win32Files::tempFolder() const {
    wchar_t folder[MAX_PATH + 1] = L"";
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return {};
    const std::string path = withoutClosingSeparator(std::wstring(folder, length));
    return folderExists(path) ? path : std::string();
}

Result<std::string> Win32Files::createUniqueFile(const std::string& folder, const std::string& prefix) {
    wchar_t name[MAX_PATH] = L"";
    if (!GetTempFileNameW(toWide(folder).c_str(), toWide(prefix).c_str(), 0, name)) return lastWin32Error();
    return fromWide(name);
}

std::error_code Win32Files::writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    // FILE_FLAG_OPEN_REPARSE_POINT: a link is opened itself, not followed to wherever it points.
    const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastWin32Error();
    const std::error_code written = writeAll(file, bytes);
    const std::error_code closed = CloseHandle(file) ? std::error_code() : lastWin32Error();
    return written ? written : closed;
}

std::wstring nameAsCreated(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    const DWORD written = length ? GetFullPathNameW(path.c_str(), length, full.data(), nullptr) : 0;
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return full;
}

std::string Win32Files::nameAsCreated(const std::string& path) const {
    return fromWide(win32::nameAsCreated(toWide(path)));
}

} // namespace murmora::win32
