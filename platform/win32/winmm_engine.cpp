#include "platform/win32/winmm_engine.h"

#include "platform/level.h"

#include <mmsystem.h>

#include <charconv>
#include <memory>

namespace murmora {

namespace {

const wchar_t* const kWindowClass = L"MurmoraWinmmEngine";
constexpr UINT kRunEvent = WM_APP + 1;

const char* const kOpenTake = "open new type waveaudio alias capture";
const char* const kTakeFormat =
    "set capture bitspersample 16 channels 2 samplespersec 44100 bytespersec 176400 alignment 4";
// Wine's MCI service ends a take's input on a thread of its own after "stop" has answered; a save
// and close before that thread is done make the process crash soon after (Wine 8). The wait is
// Wine's alone: Windows has the take complete when "stop" answers.
constexpr DWORD kWineStopSettleMs = 150;

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string quoted(const std::string& path) { return '"' + path + '"'; }

// The whole number a reply begins with.
std::optional<long long> leadingNumber(const std::string& reply) {
    long long number = 0;
    const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), number);
    if (error != std::errc{} || end != reply.data() + reply.size()) return std::nullopt;
    return number;
}

} // namespace

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

WinmmEngine::WinmmEngine() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &WinmmEngine::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass); // fails harmlessly when the class is there already
    window_ =
        CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

WinmmEngine::~WinmmEngine() {
    stopPlayback();
    discardTake();
    // Events not yet run go with the window.
    MSG message;
    while (PeekMessageW(&message, window_, kRunEvent, kRunEvent, PM_REMOVE))
        delete reinterpret_cast<std::function<void()>*>(message.lParam);
    DestroyWindow(window_);
}

LRESULT CALLBACK WinmmEngine::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* engine = reinterpret_cast<WinmmEngine*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == kRunEvent) {
        const std::unique_ptr<std::function<void()>> event(reinterpret_cast<std::function<void()>*>(lParam));
        (*event)();
        return 0;
    }
    if (message == MM_MCINOTIFY && engine) {
        // The file played to its end (successful), or the playback was stopped or replaced.
        if (wParam == MCI_NOTIFY_SUCCESSFUL && engine->playbackOpen_ && engine->playbackEnded_)
            engine->playbackEnded_(false);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void WinmmEngine::tell(std::function<void()> event) {
    PostMessageW(window_, kRunEvent, 0, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(event))));
}

unsigned WinmmEngine::send(std::string_view command, std::string* reply) const {
    wchar_t answer[256] = L"";
    const MCIERROR result = mciSendStringW(toWide(command).c_str(), answer, 256, window_);
    if (reply) *reply = fromWide(answer);
    return LOWORD(result);
}

SoundError WinmmEngine::failure(unsigned code, SoundFailure kind) const {
    wchar_t text[256] = L"";
    return {kind, mciGetErrorStringW(code, text, 256) ? fromWide(text) : "MCI error " + std::to_string(code)};
}

Result<TakeStarted, SoundError> WinmmEngine::startTake(const std::string& inputName) {
    discardTake();
    clipped_ = false;
    unsigned result = send(kOpenTake);
    takeOpen_ = result == 0;
    // A take the format cannot be set on would be of no use.
    if (result == 0) result = send(kTakeFormat);
    if (result == 0) result = send("record capture");
    if (result == 0) return TakeStarted{!inputName.empty()};
    discardTake();
    return failure(result, SoundFailure::noDevice);
}

void WinmmEngine::stopTake() {
    if (!takeOpen_) return;
    const unsigned result = send("stop capture");
    if (result == 0 && runningUnderWine()) Sleep(kWineStopSettleMs);
    std::string length;
    send("status capture length", &length);
    TakeEnd end{leadingNumber(length).value_or(0) / 1000, {}};
    if (result != 0) end.early = failure(result, SoundFailure::takeFile);
    tell([this, end] {
        if (takeOpen_ && takeHandlers_.ended) takeHandlers_.ended(end);
    });
}

void WinmmEngine::saveTake(const std::string& path, SaveFormat format) {
    SoundError outcome;
    if (format != SaveFormat::wav) {
        outcome = {SoundFailure::notSaved, "The file could not be saved (only WAV files can be written here)"};
    } else if (const std::error_code refused = checkWritable(path)) {
        outcome = {SoundFailure::notSaved, "The file could not be saved (" + refused.message() + ")"};
    } else if (const unsigned result = send("save capture " + quoted(path))) {
        outcome = failure(result, SoundFailure::notSaved);
    } else {
        discardTake(); // saved: the service lets go of it
    }
    tell([this, outcome] {
        if (takeHandlers_.saved) takeHandlers_.saved(outcome);
    });
}

void WinmmEngine::discardTake() {
    if (!takeOpen_) return;
    send("close capture");
    takeOpen_ = false;
}

std::optional<int> WinmmEngine::inputPeak() const {
    std::string reply;
    if (!takeOpen_ || send("status capture level", &reply) != 0) return std::nullopt;
    constexpr long long kLargestPeak = 32767;
    const auto peak = leadingNumber(reply);
    if (!peak || *peak < 0 || *peak > kLargestPeak) return std::nullopt;
    if (*peak >= kClipPeak) clipped_ = true;
    return static_cast<int>(*peak);
}

Result<PlaybackLength, SoundError> WinmmEngine::openPlayback(const std::string& path) {
    stopPlayback();
    if (const unsigned result = send("open " + quoted(path) + " type waveaudio alias voice1"))
        return failure(result, SoundFailure::notPlayable);
    playbackOpen_ = true;
    std::string milliseconds;
    std::string bytes;
    send("set voice1 time format ms");
    send("status voice1 length", &milliseconds);
    send("set voice1 time format bytes");
    send("status voice1 length", &bytes);
    return PlaybackLength{leadingNumber(milliseconds).value_or(0), leadingNumber(bytes).value_or(0)};
}

SoundError WinmmEngine::play() {
    if (const unsigned result = send("play voice1 notify")) return failure(result, SoundFailure::noDevice);
    return {};
}

void WinmmEngine::stopPlayback() {
    if (!playbackOpen_) return;
    playbackOpen_ = false;
    send("stop voice1");
    send("close voice1");
}

} // namespace murmora
