#include "platform/win32/win32_mci.h"

#include "platform/win32/wide.h"

#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "core/mci_commands.h"

namespace murmora {

namespace {

const char* const kTakeFormat =
    "set capture bitspersample 16 channels 2 samplespersec 44100 bytespersec 176400 alignment 4";

const std::string_view kSaveTake = "save capture ";
// Wine's MCI service ends a take's input on a thread of its own after "stop" has answered; a save
// and close before that thread is done make the process crash soon after (Wine 8). The wait is
// Wine's alone: Windows has the take complete when "stop" answers.
constexpr DWORD kWineStopSettleMs = 150;

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

} // namespace

std::optional<std::string> savedTakePath(std::string_view command) {
    if (!command.starts_with(kSaveTake)) return std::nullopt;
    std::string_view path = command.substr(kSaveTake.size());
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"') path = path.substr(1, path.size() - 2);
    return std::string(path);
}

std::error_code checkWritable(const std::string& path) {
    // A read-only file cannot be deleted, even where it can be opened for writing (by an administrator).
    const DWORD attributes = GetFileAttributesW(toWide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return win32Error(ERROR_ACCESS_DENIED);
    // DELETE as well: the service removes the file before it puts the take in its place.
    const HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastWin32Error();
    const bool made = GetLastError() != ERROR_ALREADY_EXISTS;
    CloseHandle(file);
    if (made) DeleteFileW(toWide(path).c_str());
    return {};
}

int Win32Mci::sendString(std::string_view command, char* reply, std::size_t replyLength) {
    if (const auto path = savedTakePath(command)) {
        refusedSave_ = checkWritable(*path);
        if (refusedSave_) return mci::kFileNotSaved;
    }
    const int result = send(command, reply, replyLength);
    if (result == mci::kSuccess && command == mci_commands::kStopTake && runningUnderWine()) Sleep(kWineStopSettleMs);
    if (result == mci::kSuccess && command == mci_commands::kOpenNewTake) {
        // A take the format cannot be set on would be of no use: it is closed again.
        const int formatResult = send(kTakeFormat, nullptr, 0);
        if (formatResult != mci::kSuccess) send(mci_commands::kCloseTake, nullptr, 0);
        return formatResult;
    }
    return result;
}

int Win32Mci::send(std::string_view command, char* reply, std::size_t replyLength) {
    std::vector<wchar_t> answer(std::max<std::size_t>(replyLength, 1), L'\0');
    const MCIERROR result =
        mciSendStringW(toWide(command).c_str(), answer.data(), static_cast<UINT>(answer.size()), nullptr);
    if (reply && replyLength > 0) {
        // The reply in UTF-8, cut to the caller's buffer and always terminated.
        const std::string text = fromWide(answer.data());
        const std::size_t length = std::min(text.size(), replyLength - 1);
        std::copy_n(text.begin(), length, reply);
        reply[length] = '\0';
    }
    return static_cast<int>(LOWORD(result));
}

std::string Win32Mci::getErrorString(int code) {
    wchar_t text[256] = L"";
    std::string words =
        mciGetErrorStringW(static_cast<DWORD>(code), text, 256) ? fromWide(text) : "MCI error " + std::to_string(code);
    if (code == mci::kFileNotSaved && refusedSave_) words += " (" + refusedSave_.message() + ")";
    return words;
}

} // namespace murmora
