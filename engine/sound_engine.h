#pragma once
#include "engine/audio_backend.h"
#include "engine/call_thread.h"
#include "platform/playback_engine.h"
#include "platform/take_engine.h"
#include "platform/ui_thread.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>

namespace murmora::audio {

class FilePlayer;

// The engine as the panel uses it. Each call returns at once, or after the device calls it
// makes, which the backend bounds by kDeviceDeadline. The end of a take and its save run in the
// order asked on a worker thread, whose disk work never holds up the caller: a WAV take is moved
// or copied into place, other formats are encoded from it (FLAC, Opus, MP3), the take kept until
// the encoding is complete and on disk. What comes of them, and the end of a playback, reach the
// handlers on the user-interface thread. It plays WAV, FLAC, Ogg Opus and MP3 files.
class SoundEngine final : public TakeEngine, public PlaybackEngine {
public:
    SoundEngine(std::unique_ptr<AudioBackend> backend, std::filesystem::path takeFolder, UiThread& ui);
    // Waits for the worker to finish what it was asked. A take neither saved nor discarded
    // stays in the take folder, where the next start recovers it.
    ~SoundEngine() override;
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    void setTakeHandlers(TakeHandlers handlers) override { takeHandlers_ = std::move(handlers); }
    Result<std::vector<SoundInput>, SoundError> listInputs() override;
    std::vector<SaveFormat> saveFormats() const override;
    Result<TakeStarted, SoundError> startTake(const std::string& inputName) override;
    void stopTake() override;
    void pauseTake() override;
    void resumeTake() override;
    void saveTake(const std::string& path, SaveFormat format) override;
    void cancelSave() override { saveCancel_.request_stop(); }
    void discardTake() override;
    std::optional<int> inputPeak() const override;
    bool inputClipped() const override;

    void setPlaybackEndedHandler(std::function<void()> handler) override { playbackEnded_ = std::move(handler); }
    Result<PlaybackLength, SoundError> openPlayback(const std::string& path) override;
    SoundError play() override;
    void stopPlayback() override;

private:
    struct Take;
    // On the worker: ends the take, unless that was done, and tells how it ended; `failed` is why
    // it could record no more, when a pause or resume failed.
    void endTake(const std::shared_ptr<Take>& take, std::error_code failed = {});
    // Lets the take go on the worker, after what was asked of it before.
    void dropTake();
    // Runs `event` on the user-interface thread, unless the engine is gone by then.
    void tell(std::function<void()> event);
    // Whether `take` is still the engine's take; on the user-interface thread.
    bool isCurrent(const std::weak_ptr<Take>& take) const;
    // On the worker: puts the take at `path`, encoded unless `format` is WAV, telling the
    // progress of an encoding.
    std::error_code placeTake(const std::shared_ptr<Take>& take, const std::filesystem::path& path, SaveFormat format,
                              std::stop_token cancel);

    std::unique_ptr<AudioBackend> backend_; // outlives the streams it made
    std::filesystem::path takeFolder_;
    UiThread& ui_;
    TakeHandlers takeHandlers_;
    std::function<void()> playbackEnded_;
    std::shared_ptr<Take> take_;
    std::unique_ptr<FilePlayer> player_;
    std::uint64_t playbackNumber_ = 0; // tells a playback's end from that of one before it
    std::stop_source saveCancel_;      // of the save asked last
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    CallThread worker_;
};

} // namespace murmora::audio
