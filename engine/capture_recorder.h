#pragma once
#include "engine/audio_backend.h"
#include "engine/guarded.h"
#include "engine/spsc_ring.h"
#include "engine/take_encoder.h"
#include "engine/take_file.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace murmora::audio {

// One take from an input into a take file. The audio callback only copies frames into
// a ring; a writer thread moves them into the file and keeps its header current. The take ends
// by itself at the last frame received when its input is lost (the stream is lost, or no frame
// comes for kNoFramesLimit while recording, kFirstFramesLimit for the first ones) or the disk
// refuses its frames.
class CaptureRecorder final : private CaptureSink {
public:
    // A stopped or frozen sound server sends nothing at all; even a silent input sends frames.
    static constexpr auto kNoFramesLimit = std::chrono::milliseconds(1800);
    // The input level is the peak of the latest window: blocks gathered until they hold this
    // much. A 50 ms fragment of the sound server or a 46 ms PortAudio buffer is one window;
    // smaller blocks are gathered to 40 to 50 ms.
    static constexpr auto kLevelWindow = std::chrono::milliseconds(40);
    // A take from the input the backend lists as `inputName`, or from the default input when
    // that is empty or not there (then defaultInstead() says so). Fails with the reason the take
    // file could not be made (a system error, or the take folder's refusal), or why no stream
    // opened.
    static Result<std::unique_ptr<CaptureRecorder>> open(AudioBackend& backend, const std::filesystem::path& takeFolder,
                                                         const StreamFormat& format, const std::string& inputName = {});
    ~CaptureRecorder(); // ends the take; an unsaved take file is removed
    CaptureRecorder(const CaptureRecorder&) = delete;
    CaptureRecorder& operator=(const CaptureRecorder&) = delete;

    // Runs once, on the writer's thread, when the take has ended by itself; stop() then ends
    // it for good. Set before record().
    void setEndedHandler(std::function<void()> handler) { onEnded_ = std::move(handler); }
    // Starts capturing and returns at once.
    std::error_code record();
    // Stops capturing until resume() and returns once every frame received is in the ring; the
    // writer keeps the file current meanwhile, and waits for no frame. Fails as stop() does.
    std::error_code pause();
    // Captures on into the same take; fails as record() does, and the take stays paused then.
    std::error_code resume();
    // Ends capturing and returns once every frame received is in the file. Fails with
    // AudioError::notAnswering when the server did not confirm the stop: the take then ends at
    // what had arrived.
    std::error_code stop();
    // Stops, then finishes the file at `target` (see TakeFile::placeAt). A take that a save was
    // tried on records no more.
    std::error_code save(const std::filesystem::path& target);
    // Stops, finishes the take file and encodes it into `target` (see encodeTake), on the calling
    // thread. The take file stays, and can be saved again, until the recorder goes.
    std::error_code saveEncoded(const std::filesystem::path& target, EncodedFormat format, std::stop_token cancel,
                                const EncodeProgress& progress);

    // The take's file stays where the next start recovers it when the recorder goes.
    void keepForRecovery() { take_->keepForRecovery(); }

    // May be read from any thread, as may lost() and inputPeak().
    bool recording() const { return writing_.load() && !lost(); }
    bool lost() const { return lost_.load(); }
    // The input asked for was not there: the take records from the default input.
    bool defaultInstead() const { return defaultInstead_; }
    // A sample of the take has reached full scale.
    bool clipped() const { return clipped_.load(std::memory_order_relaxed); }
    bool finished() const { return finished_; }
    // Why the disk refused frames, once it did: the take holds what was written before, and ended
    // there. Read after stop().
    std::error_code writeError() const { return writeError_; }
    // Frames of the take: those captured so far while recording, those in the file after.
    std::int64_t lengthFrames() const { return writer_.joinable() ? framesCaptured_.load() : take_->frames(); }
    std::int64_t framesLost() const { return framesLost_.load(); }
    std::int64_t deviceOverflows() const { return deviceOverflows_.load(); }
    bool paused() const { return paused_.load(); }
    // The largest sample magnitude (0 to 32768) of the latest level window while recording;
    // 0 when not recording or paused.
    int inputPeak() const { return recording() && !paused() ? inputPeak_.load(std::memory_order_relaxed) : 0; }
    const StreamFormat& format() const { return format_; }

private:
    CaptureRecorder(const StreamFormat& format, std::unique_ptr<TakeFile> take);
    void onCaptured(const std::int16_t* samples, std::size_t frames, bool deviceOverflow) noexcept override;
    void onStreamEnded(StreamState state) noexcept override;
    void gatherLevel(const std::int16_t* samples, std::size_t frames) noexcept;
    void writeUntilStopped();
    void drainRing();
    // The writer's check, each round: true once the input is lost. Sets how long the writer may
    // wait before it looks again.
    bool inputLost(std::chrono::steady_clock::duration& nextLook) const;
    void wakeWriter();
    // Lets frames in from now on: the level window starts again, and the first frames have the
    // longer limit.
    void acceptFrames();

    StreamFormat format_;
    std::unique_ptr<TakeFile> take_;
    SpscRing<std::int16_t> ring_;
    std::unique_ptr<AudioStream> stream_;
    std::vector<std::int16_t> chunk_; // the writer's buffer between ring and file
    std::thread writer_;
    std::atomic<bool> writing_{false}; // from record() until the writer ends, asked or by itself
    std::function<void()> onEnded_;
    // What wakes the writer, from the panel's thread and the audio thread.
    Mutex wakeMutex_;
    std::condition_variable wake_;
    bool stopWriting_ GUARDED_BY(wakeMutex_) = false;
    bool wakeRequested_ GUARDED_BY(wakeMutex_) = false;
    bool finished_ = false;
    std::atomic<bool> accepting_{false}; // frames are taken only while recording
    std::atomic<bool> paused_{false};
    std::atomic<bool> lost_{false};
    std::atomic<bool> clipped_{false};
    bool defaultInstead_ = false;
    std::error_code writeError_; // the writer's, until stop() joins it
    std::atomic<std::int64_t> framesCaptured_{0};
    std::atomic<std::int64_t> framesLost_{0};
    std::atomic<std::int64_t> deviceOverflows_{0};
    // When frames last came (steady clock ticks), those the ring could not hold too: a frozen
    // server is told kNoFramesLimit after its last frame, however the writer's rounds fall.
    std::atomic<std::chrono::steady_clock::rep> lastFrameAt_{0};
    // The level window being gathered, on the audio thread only (reset by record() before
    // frames are accepted), and the peak of the last one finished.
    const std::size_t levelWindowFrames_;
    int windowPeak_ = 0;
    std::size_t windowFrames_ = 0;
    std::atomic<int> inputPeak_{0};
};

} // namespace murmora::audio
