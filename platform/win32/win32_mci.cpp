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

} // namespace

int Win32Mci::sendString(std::string_view command, char* reply, std::size_t replyLength) {
    const int result = send(command, reply, replyLength);
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
    if (!mciGetErrorStringW(static_cast<DWORD>(code), text, 256)) return "MCI error " + std::to_string(code);
    return fromWide(text);
}

} // namespace murmora
