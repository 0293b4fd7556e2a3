#include "engine/capture_recorder.h"

#include "platform/level.h"

#include <algorithm>
#include <chrono>

namespace murmora::audio {
namespace {

constexpr int kRingSeconds = 6;            // what the ring holds while the disk stalls
constexpr std::size_t kChunkFrames = 8192; // frames moved per file write
constexpr auto kWriterPeriod = std::chrono::milliseconds(200);
constexpr auto kHeaderPeriod = std::chrono::seconds(1); // a crash loses at most this much

} // namespace

Result<std::unique_ptr<CaptureRecorder>> CaptureRecorder::open(AudioBackend& backend,
                                                               const std::filesystem::path& takeFolder,
                                                               const StreamFormat& format,
                                                               const std::string& inputName) {
    auto take = TakeFile::create(takeFolder, format);
    if (!take) return take.error();
    std::unique_ptr<CaptureRecorder> recorder(new CaptureRecorder(format, std::move(*take)));
    auto opened = backend.openCaptureFrom(inputName, format, *recorder);
    if (!opened) return opened.error();
    recorder->stream_ = std::move(opened->stream);
    recorder->defaultInstead_ = opened->defaultInstead;
    return recorder;
}

CaptureRecorder::CaptureRecorder(const StreamFormat& format, std::unique_ptr<TakeFile> take)
    : format_(format), take_(std::move(take)),
      ring_(static_cast<std::size_t>(format.sampleRate) * kRingSeconds, static_cast<std::size_t>(format.channels)),
      chunk_(kChunkFrames * static_cast<std::size_t>(format.channels)),
      levelWindowFrames_(static_cast<std::size_t>(format.sampleRate * kLevelWindow.count() / 1000)) {}

CaptureRecorder::~CaptureRecorder() {
    static_cast<void>(stop()); // the take ends here whatever the server says
    stream_.reset();
}

std::error_code CaptureRecorder::record() {
    if (lost() || finished_) return AudioError::deviceFailed;
    if (writer_.joinable()) return {};
    acceptFrames();
    if (const std::error_code error = stream_->start()) {
        accepting_ = false;
        return error;
    }
    {
        Lock lock(wakeMutex_);
        stopWriting_ = false;
    }
    writing_ = true;
    writer_ = std::thread([this] { writeUntilStopped(); });
    return {};
}

void CaptureRecorder::acceptFrames() {
    windowPeak_ = 0;
    windowFrames_ = 0;
    inputPeak_ = 0;
    // As if the last frame came later than now: the first frames have the longer limit.
    lastFrameAt_ = (std::chrono::steady_clock::now() + kFirstFramesLimit - kNoFramesLimit).time_since_epoch().count();
    accepting_ = true;
}

std::error_code CaptureRecorder::pause() {
    if (!writing_ || paused_) return {};
    // Every frame the server sent before the stop has reached onCaptured when it returns; without
    // its answer none reaches it after.
    const std::error_code error = stream_->stop();
    accepting_ = false;
    paused_ = true;
    wakeWriter(); // to write the header at once
    return error;
}

std::error_code CaptureRecorder::resume() {
    if (!writing_ || !paused_) return {};
    acceptFrames();
    paused_ = false;
    if (const std::error_code error = stream_->start()) {
        accepting_ = false;
        paused_ = true;
        return error;
    }
    return {};
}

std::error_code CaptureRecorder::stop() {
    if (!writer_.joinable()) return {};
    // A stream lost just now ends the take as one the writer saw go. A take that ended by itself
    // asks nothing of the server, which may be the reason it ended.
    if (stream_->state() == StreamState::lost) lost_ = true;
    const bool endedItself = lost() || !writing_;
    const std::error_code result = endedItself ? std::error_code() : stream_->stop();
    accepting_ = false;
    {
        Lock lock(wakeMutex_);
        stopWriting_ = true;
    }
    wake_.notify_one();
    writer_.join();
    return result;
}

std::error_code CaptureRecorder::save(const std::filesystem::path& target) {
    // A stop the server did not confirm leaves the take at what had arrived: that is saved.
    static_cast<void>(stop());
    finished_ = true;
    return take_->placeAt(target);
}

std::error_code CaptureRecorder::saveEncoded(const std::filesystem::path& target, EncodedFormat format,
                                             std::stop_token cancel, const EncodeProgress& progress) {
    static_cast<void>(stop());
    finished_ = true;
    if (const std::error_code error = take_->finish()) return error;
    return encodeTake(take_->path(), target, format, std::move(cancel), progress);
}

void CaptureRecorder::onCaptured(const std::int16_t* samples, std::size_t frames, bool deviceOverflow) noexcept {
    if (!accepting_.load(std::memory_order_acquire)) return;
    lastFrameAt_.store(std::chrono::steady_clock::now().time_since_epoch().count(), std::memory_order_relaxed);
    gatherLevel(samples, frames);
    const std::size_t kept = ring_.write(samples, frames);
    framesCaptured_.fetch_add(static_cast<std::int64_t>(kept), std::memory_order_relaxed);
    if (kept < frames) framesLost_.fetch_add(static_cast<std::int64_t>(frames - kept), std::memory_order_relaxed);
    if (deviceOverflow) deviceOverflows_.fetch_add(1, std::memory_order_relaxed);
}

void CaptureRecorder::onStreamEnded(StreamState) noexcept { wakeWriter(); }

void CaptureRecorder::wakeWriter() {
    {
        Lock lock(wakeMutex_);
        wakeRequested_ = true;
    }
    wake_.notify_one();
}

void CaptureRecorder::gatherLevel(const std::int16_t* samples, std::size_t frames) noexcept {
    const int peak = samplePeak({samples, frames * static_cast<std::size_t>(format_.channels)});
    if (peak >= kClipPeak) clipped_.store(true, std::memory_order_relaxed);
    windowPeak_ = std::max(windowPeak_, peak);
    windowFrames_ += frames;
    if (windowFrames_ < levelWindowFrames_) return;
    inputPeak_.store(windowPeak_, std::memory_order_relaxed);
    windowPeak_ = 0;
    windowFrames_ = 0;
}

void CaptureRecorder::writeUntilStopped() {
    auto lastHeader = std::chrono::steady_clock::now();
    std::int64_t headerFrames = 0; // the frames the header counted at its last update
    auto nextLook = std::chrono::steady_clock::duration(kWriterPeriod);
    bool endedItself = false;
    Lock lock(wakeMutex_);
    while (!stopWriting_) {
        const auto lookAt =
            std::chrono::steady_clock::now() + std::min(nextLook, std::chrono::steady_clock::duration(kWriterPeriod));
        while (!stopWriting_ && !wakeRequested_ && lock.waitUntil(wake_, lookAt)) {}
        wakeRequested_ = false;
        lock.unlock();
        drainRing();
        // Paused, the header takes in the last frames at once: a crash then loses none of them.
        const bool unwritten = take_->frames() != headerFrames;
        if (unwritten && (paused_ || std::chrono::steady_clock::now() - lastHeader >= kHeaderPeriod)) {
            take_->updateHeader();
            lastHeader = std::chrono::steady_clock::now();
            headerFrames = take_->frames();
        }
        if (inputLost(nextLook)) lost_ = true;
        endedItself = lost() || writeError_;
        lock.lock();
        if (endedItself) break;
    }
    lock.unlock();
    accepting_ = false;
    writing_ = false;
    drainRing(); // the stream has stopped: whatever it delivered last is in the ring now
    take_->updateHeader();
    if (endedItself && onEnded_) onEnded_();
}

bool CaptureRecorder::inputLost(std::chrono::steady_clock::duration& nextLook) const {
    if (stream_->state() == StreamState::lost) return true;
    if (paused_) {
        nextLook = kWriterPeriod;
        return false;
    }
    const std::chrono::steady_clock::time_point lastFrameAt{
        std::chrono::steady_clock::duration(lastFrameAt_.load(std::memory_order_relaxed))};
    const auto now = std::chrono::steady_clock::now();
    // Looked at again when the limit would be reached, so that a frozen server is told at once.
    nextLook = lastFrameAt + kNoFramesLimit - now;
    return now - lastFrameAt >= kNoFramesLimit;
}

void CaptureRecorder::drainRing() {
    const std::size_t channels = static_cast<std::size_t>(format_.channels);
    while (const std::size_t frames = ring_.read(chunk_.data(), chunk_.size() / channels)) {
        if (const std::error_code error = take_->append(chunk_.data(), frames); error && !writeError_)
            writeError_ = error; // the take ends here; what follows is read and dropped
    }
}

} // namespace murmora::audio
