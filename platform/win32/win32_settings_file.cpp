#include "platform/win32/win32_settings_file.h"

#include "platform/wide/wide.h"
#include "settings/settings_text.h"

#include <knownfolders.h>
#include <shlobj.h>

#include <random>
#include <string>

namespace murmora::win32 {
namespace fs = std::filesystem;

fs::path win32SettingsFolder() {
    wchar_t* roaming = nullptr;
    fs::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming)))
        folder = fs::path(roaming) / L"Murmora";
    CoTaskMemFree(roaming);
    return folder;
}

Win32SettingsFile::Win32SettingsFile(fs::path folder, std::ostream& complaints)
    : SettingsFile(std::move(folder), complaints) {}

Result<std::string> Win32SettingsFile::readSmallFile(const fs::path& path) const {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastWin32Error();
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return notAPlainFile();
    }
    std::string text(kLargestSettingsText + 1, '\0');
    std::size_t got = 0;
    std::error_code error;
    while (got < text.size()) {
        DWORD read = 0;
        if (!ReadFile(file, text.data() + got, static_cast<DWORD>(text.size() - got), &read, nullptr)) {
            error = lastWin32Error();
            break;
        }
        if (read == 0) break;
        got += read;
    }
    CloseHandle(file);
    if (error) return error;
    text.resize(got);
    return text;
}

bool Win32SettingsFile::isMissing(const std::error_code& error) const {
    return error.category() == win32Category() &&
           (error.value() == ERROR_FILE_NOT_FOUND || error.value() == ERROR_PATH_NOT_FOUND);
}

std::error_code Win32SettingsFile::makeFolders(const fs::path& folder) const {
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (GetFileAttributesW(made.c_str()) == INVALID_FILE_ATTRIBUTES && !CreateDirectoryW(made.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS)
            return lastWin32Error();
    }
    return {};
}

std::error_code Win32SettingsFile::replaceWhole(const fs::path& target, const std::string& text) const {
    std::random_device random;
    fs::path partial;
    HANDLE file = INVALID_HANDLE_VALUE;
    while (file == INVALID_HANDLE_VALUE) {
        wchar_t name[32];
        swprintf(name, 32, L".settings-%08x", static_cast<unsigned>(random()));
        partial = target.parent_path() / name;
        file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return lastWin32Error();
    }
    DWORD written = 0;
    std::error_code error;
    if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) || written != text.size() ||
        !FlushFileBuffers(file))
        error = lastWin32Error();
    CloseHandle(file);
    if (!error && !MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = lastWin32Error();
    if (error) DeleteFileW(partial.c_str());
    return error;
}

} // namespace murmora::win32
