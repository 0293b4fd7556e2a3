// Records from the default input through the Windows MCI service and saves the take:
//   mci_record SECONDS PATH
// Prints each command with its result code and reply; exits 0 when the take was saved.
#include <mmsystem.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool sendCommand(const std::wstring& command) {
    wchar_t reply[128] = L"", error[128] = L"";
    const MCIERROR result = mciSendStringW(command.c_str(), reply, 128, nullptr);
    if (result != 0) mciGetErrorStringW(result, error, 128);
    std::wprintf(L"%ls -> %lu %ls%ls\n", command.c_str(), result, reply, error);
    std::fflush(stdout);
    return result == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: mci_record SECONDS PATH\n");
        return 2;
    }
    const bool recording = sendCommand(L"open new type waveaudio alias capture") &&
                           sendCommand(L"set capture bitspersample 16 channels 2 samplespersec 44100") &&
                           sendCommand(L"record capture");
    if (recording) Sleep(static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10) * 1000));
    const bool saved =
        recording && sendCommand(L"stop capture") && sendCommand(L"save capture \"" + std::wstring(argv[2]) + L"\"");
    sendCommand(L"close capture");
    return saved ? 0 : 1;
}
