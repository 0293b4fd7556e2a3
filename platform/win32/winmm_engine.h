#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/playback_engine.h"
#include "platform/take_engine.h"
#include "platform/wide/wide.h"

namespace murmora {

// Takes and playback through Windows' own MCI service (winmm), which holds a take in its memory
// until it is saved. A new take is set to the program's format, 44,100 Hz 16-bit stereo, as
// soon as it is opened: the service's own default is a telephone-grade 11,025 Hz 8-bit mono.
// Its calls run on the user-interface thread; what the handlers are told comes as window
// messages of its own, and the end of a playback as the service's notification. It records
// from the default input only and saves WAV only: the service names no inputs and encodes
// nothing.
class WinmmEngine final : public TakeEngine, public PlaybackEngine {
public:
    WinmmEngine();
    ~WinmmEngine() override;
    WinmmEngine(const WinmmEngine&) = delete;
    WinmmEngine& operator=(const WinmmEngine&) = delete;

    void setTakeHandlers(TakeHandlers handlers) override { takeHandlers_ = std::move(handlers); }
    // None: the service records from the default input.
    Result<std::vector<SoundInput>, SoundError> listInputs() override { return std::vector<SoundInput>{}; }
    std::vector<SaveFormat> saveFormats() const override { return {SaveFormat::wav}; }
    // From the default input, whatever input is named (then it says so).
    Result<TakeStarted, SoundError> startTake(const std::string& inputName) override;
    void stopTake() override;
    // A save goes to the service only once the file system would take the file: the service's
    // "save" deletes the file at the path and renames its take file into place, and when that
    // rename fails it has already let go of the take. Any format but WAV is refused.
    void saveTake(const std::string& path, SaveFormat format) override;
    // A save is done by the time saveTake() returns: there is nothing left to give up.
    void cancelSave() override {}
    void discardTake() override;
    // The service's level of the input; nothing when it answers what cannot be a 16-bit peak
    // (Wine answers a fixed 2863289685).
    std::optional<int> inputPeak() const override;
    // Whether a level read during the take was full scale: the service tells the present level
    // only, so a clip between two readings goes unseen.
    bool inputClipped() const override { return clipped_; }

    void setPlaybackEndedHandler(std::function<void(bool lost)> handler) override {
        playbackEnded_ = std::move(handler);
    }
    Result<PlaybackLength, SoundError> openPlayback(const std::string& path) override;
    SoundError play() override;
    void stopPlayback() override;

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Sends a command; the service's result code, and its reply in `reply` when given.
    unsigned send(std::string_view command, std::string* reply = nullptr) const;
    SoundError failure(unsigned code, SoundFailure kind) const;
    // Runs `event` from the message loop, after the present handler.
    void tell(std::function<void()> event);

    HWND window_;
    TakeHandlers takeHandlers_;
    std::function<void(bool lost)> playbackEnded_;
    bool takeOpen_ = false;
    mutable bool clipped_ = false; // of the take open now
    bool playbackOpen_ = false;
};

// Whether a file could be written at `path` and the file there replaced: empty when it could.
std::error_code checkWritable(const std::string& path);

} // namespace murmora
