#include "platform/audio/sound_engine.h"

#include "platform/audio/capture_recorder.h"
#include "platform/audio/file_player.h"
#include "platform/audio/sound_failures.h"
#include "platform/audio/utf8_path.h"

namespace murmora::audio {

struct SoundEngine::Take {
    std::unique_ptr<CaptureRecorder> recorder;
    bool endTold = false; // on the worker only
};

namespace {

// Why a take that has stopped holds less than it was asked to: its input went, the disk
// refused frames, or the server did not confirm the stop. Nothing when it ended as asked.
SoundError earlyEnd(const CaptureRecorder& recorder, const std::error_code& stopped) {
    if (recorder.lost()) return takeInputLost();
    if (recorder.writeError()) return takeNotWritten(recorder.writeError());
    if (stopped) return takeNotWritten(stopped);
    return {};
}

} // namespace

SoundEngine::SoundEngine(std::unique_ptr<AudioBackend> backend, std::filesystem::path takeFolder, UiThread& ui)
    : backend_(std::move(backend)), takeFolder_(std::move(takeFolder)), ui_(ui) {}

SoundEngine::~SoundEngine() {
    player_.reset();
    if (take_) {
        worker_.post([take = take_] {
            static_cast<void>(take->recorder->stop());
            take->recorder->keepForRecovery();
        });
        dropTake();
    }
    worker_.finishQueued();
}

void SoundEngine::tell(std::function<void()> event) {
    ui_.post([alive = std::weak_ptr<bool>(alive_), event = std::move(event)] {
        if (alive.lock()) event();
    });
}

bool SoundEngine::isCurrent(const std::weak_ptr<Take>& take) const {
    const auto held = take.lock();
    return held && held == take_;
}

SoundError SoundEngine::startTake() {
    if (take_) dropTake();
    auto recorder = CaptureRecorder::open(*backend_, takeFolder_, StreamFormat{});
    if (!recorder) return takeNotStarted(recorder.error(), takeFolder_);
    auto take = std::make_shared<Take>(Take{std::move(*recorder)});
    take->recorder->setEndedHandler([this, weak = std::weak_ptr<Take>(take)] {
        worker_.post([this, weak] {
            if (const auto held = weak.lock()) endTake(held);
        });
    });
    if (const std::error_code error = take->recorder->record()) {
        worker_.post([take] {}); // its file is removed there
        return takeNotStarted(error, takeFolder_);
    }
    take_ = std::move(take);
    return {};
}

void SoundEngine::stopTake() {
    if (!take_) return;
    worker_.post([this, take = take_] { endTake(take); });
}

void SoundEngine::endTake(const std::shared_ptr<Take>& take) {
    if (take->endTold) return;
    take->endTold = true;
    CaptureRecorder& recorder = *take->recorder;
    const std::error_code stopped = recorder.stop();
    const TakeEnd end{recorder.lengthFrames() / recorder.format().sampleRate, earlyEnd(recorder, stopped)};
    tell([this, weak = std::weak_ptr<Take>(take), end] {
        if (isCurrent(weak) && takeHandlers_.ended) takeHandlers_.ended(end);
    });
}

void SoundEngine::saveTake(const std::string& path) {
    if (!take_) return;
    worker_.post([this, take = take_, path] {
        const std::error_code error = take->recorder->save(pathOfUtf8(path));
        const SoundError outcome = error ? takeNotSaved(error) : SoundError{};
        tell([this, weak = std::weak_ptr<Take>(take), outcome] {
            if (!isCurrent(weak)) return;
            if (!outcome) dropTake(); // it is at its path now
            if (takeHandlers_.saved) takeHandlers_.saved(outcome);
        });
    });
}

void SoundEngine::discardTake() {
    if (take_) dropTake();
}

void SoundEngine::dropTake() {
    worker_.post([take = std::move(take_)] {});
}

std::optional<int> SoundEngine::inputPeak() const {
    if (!take_ || !take_->recorder->recording()) return 0;
    return take_->recorder->inputPeak();
}

Result<PlaybackLength, SoundError> SoundEngine::openPlayback(const std::string& path) {
    stopPlayback();
    auto player = FilePlayer::open(*backend_, pathOfUtf8(path));
    if (!player) return playbackNotStarted(player.error());
    (*player)->setEndedHandler([this, number = playbackNumber_](bool lost) {
        tell([this, number, lost] {
            if (player_ && number == playbackNumber_ && playbackEnded_) playbackEnded_(lost);
        });
    });
    player_ = std::move(*player);
    const std::int64_t frames = player_->frames();
    return PlaybackLength{frames * 1000 / player_->sampleRate(), frames * player_->bytesPerFrame()};
}

SoundError SoundEngine::play() {
    if (!player_) return playbackNotStarted(std::make_error_code(std::errc::no_such_file_or_directory));
    if (const std::error_code error = player_->play()) return playbackNotStarted(error);
    return {};
}

void SoundEngine::stopPlayback() {
    player_.reset();
    ++playbackNumber_;
}

} // namespace murmora::audio
