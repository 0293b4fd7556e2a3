// The CPU a take costs on Windows: one take of SECONDS from the default input, either through the
// take engine (CaptureRecorder over WASAPI, into a take file) or through a minimal WASAPI capture
// loop that only counts the frames. Prints the process's CPU seconds (user + kernel, every
// thread) from the start of capture to its end, and the frames captured:
//   capture_cpu_bench recorder|minimal SECONDS
#include "engine/backends/wasapi_backend.h"
#include "engine/capture_recorder.h"

#include <windows.h>

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <objbase.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

int report(double cpu, long long frames) {
    std::printf("cpu %.3f s, %lld frames\n", cpu, frames);
    return frames > 0 ? 0 : 1;
}

int recorder(double seconds) {
    namespace audio = murmora::audio;
    const auto backend = audio::makeWasapiBackend();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / L"murmora-capture-bench";
    auto opened = audio::CaptureRecorder::open(*backend, folder, {});
    if (!opened) return std::fprintf(stderr, "no take: %s\n", opened.error().message().c_str()), 1;
    audio::CaptureRecorder& take = **opened;
    const double before = cpuSeconds();
    if (take.record()) return std::fprintf(stderr, "the take did not start\n"), 1;
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    take.stop();
    return report(cpuSeconds() - before, take.lengthFrames());
}

// The least a program does to capture through WASAPI in the same mode as the engine.
int minimal(double seconds) {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    IMMDeviceEnumerator* devices = nullptr;
    IMMDevice* device = nullptr;
    IAudioClient* client = nullptr;
    IAudioCaptureClient* capture = nullptr;
    const HANDLE ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX wave{WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, IID_PPV_ARGS(&devices))) ||
        FAILED(devices->GetDefaultAudioEndpoint(eCapture, eConsole, &device)) ||
        FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(&client))) ||
        FAILED(client->Initialize(AUDCLNT_SHAREMODE_SHARED,
                                  AUDCLNT_STREAMFLAGS_EVENTCALLBACK | AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM |
                                      AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY,
                                  10'000'000, 0, &wave, nullptr)) ||
        FAILED(client->SetEventHandle(ready)) || FAILED(client->GetService(IID_PPV_ARGS(&capture))))
        return std::fprintf(stderr, "no capture stream\n"), 1;
    const double before = cpuSeconds();
    client->Start();
    long long frames = 0;
    for (const auto end = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < end;) {
        WaitForSingleObject(ready, 100);
        for (UINT32 packet = 0; SUCCEEDED(capture->GetNextPacketSize(&packet)) && packet > 0;) {
            BYTE* data = nullptr;
            UINT32 got = 0;
            DWORD flags = 0;
            if (FAILED(capture->GetBuffer(&data, &got, &flags, nullptr, nullptr))) break;
            frames += got;
            capture->ReleaseBuffer(got);
        }
    }
    client->Stop();
    const double cpu = cpuSeconds() - before;
    capture->Release();
    client->Release();
    device->Release();
    devices->Release();
    return report(cpu, frames);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring kind = argc == 3 ? argv[1] : L"";
    const double seconds = argc == 3 ? std::wcstod(argv[2], nullptr) : 0;
    if (kind == L"recorder") return recorder(seconds);
    if (kind == L"minimal") return minimal(seconds);
    std::fprintf(stderr, "usage: capture_cpu_bench recorder|minimal SECONDS\n");
    return 2;
}
