// Records from the default input through the Windows MCI service and saves the take:
//   mci_record SECONDS PATH
// Prints each command with its result code and reply, then the shortest and longest time the
// take can have lasted as seen from here; exits 0 when the take was saved.
#include <windows.h>
// mmsystem.h needs windows.h first.
#include <mmsystem.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

bool send(const std::wstring& command) {
    wchar_t reply[128] = L"", error[128] = L"";
    const MCIERROR result = mciSendStringW(command.c_str(), reply, 128, nullptr);
    if (result != 0) mciGetErrorStringW(result, error, 128);
    std::wprintf(L"%ls -> %lu %ls%ls\n", command.c_str(), result, reply, error);
    std::fflush(stdout);
    return result == 0;
}

double seconds() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: mci_record SECONDS PATH\n");
        return 2;
    }
    const bool opened = send(L"open new type waveaudio alias capture") &&
                        send(L"set capture bitspersample 16 channels 2 samplespersec 44100");
    // A loaded machine may oversleep, so the take's length is judged by the clock, not the sleep.
    const double beforeRecord = seconds();
    const bool recording = opened && send(L"record capture");
    const double afterRecord = seconds();
    if (recording) Sleep(static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10) * 1000));
    const double beforeStop = seconds();
    const bool stopped = recording && send(L"stop capture");
    const double afterStop = seconds();
    const bool saved = stopped && send(L"save capture \"" + std::wstring(argv[2]) + L"\"");
    send(L"close capture");
    if (stopped) std::wprintf(L"held between %.3f and %.3f s\n", beforeStop - afterRecord, afterStop - beforeRecord);
    return saved ? 0 : 1;
}
