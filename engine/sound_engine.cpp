#include "engine/sound_engine.h"

#include "engine/capture_recorder.h"
#include "engine/file_player.h"
#include "engine/sound_failures.h"
#include "engine/utf8_path.h"

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
    saveCancel_.request_stop(); // an encoding is not waited for: the take is recovered at the next start
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

Result<std::vector<SoundInput>, SoundError> SoundEngine::listInputs() {
    auto listed = backend_->listInputs();
    if (!listed) return inputsNotListed(listed.error());
    std::vector<SoundInput> inputs;
    for (const InputDevice& input : *listed)
        inputs.push_back({input.name, input.description, input.isDefault, input.outputSound});
    return inputs;
}

std::vector<SaveFormat> SoundEngine::saveFormats() const {
    std::vector<SaveFormat> formats{SaveFormat::wav};
    for (const EncodedFormat encoded : encodableFormats())
        formats.push_back(encoded == EncodedFormat::flac   ? SaveFormat::flac
                          : encoded == EncodedFormat::opus ? SaveFormat::opus
                                                           : SaveFormat::mp3);
    return formats;
}

Result<TakeStarted, SoundError> SoundEngine::startTake(const std::string& inputName) {
    if (take_) dropTake();
    auto recorder = CaptureRecorder::open(*backend_, takeFolder_, StreamFormat{}, inputName);
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
    const bool defaultInstead = take->recorder->defaultInstead();
    take_ = std::move(take);
    return TakeStarted{defaultInstead};
}

void SoundEngine::stopTake() {
    if (!take_) return;
    worker_.post([this, take = take_] { endTake(take); });
}

void SoundEngine::pauseTake() {
    if (!take_) return;
    worker_.post([this, take = take_] {
        if (take->endTold) return;
        if (const std::error_code error = take->recorder->pause()) endTake(take, error);
    });
}

void SoundEngine::resumeTake() {
    if (!take_) return;
    worker_.post([this, take = take_] {
        if (take->endTold) return;
        if (const std::error_code error = take->recorder->resume()) endTake(take, error);
    });
}

void SoundEngine::endTake(const std::shared_ptr<Take>& take, std::error_code failed) {
    if (take->endTold) return;
    take->endTold = true;
    CaptureRecorder& recorder = *take->recorder;
    const std::error_code stopped = recorder.stop();
    const TakeEnd end{recorder.lengthFrames() / recorder.format().sampleRate,
                      earlyEnd(recorder, stopped ? stopped : failed), recorder.lengthFrames() == 0};
    tell([this, weak = std::weak_ptr<Take>(take), end] {
        if (isCurrent(weak) && takeHandlers_.ended) takeHandlers_.ended(end);
    });
}

void SoundEngine::saveTake(const std::string& path, SaveFormat format) {
    if (!take_) return;
    saveCancel_ = std::stop_source();
    worker_.post([this, take = take_, path = pathOfUtf8(path), format, cancel = saveCancel_.get_token()] {
        const std::error_code error = placeTake(take, path, format, cancel);
        const SoundError outcome = error ? takeNotSaved(error) : SoundError{};
        tell([this, weak = std::weak_ptr<Take>(take), outcome] {
            if (!isCurrent(weak)) return;
            if (!outcome) dropTake(); // it is at its path now
            if (takeHandlers_.saved) takeHandlers_.saved(outcome);
        });
    });
}

std::error_code SoundEngine::placeTake(const std::shared_ptr<Take>& take, const std::filesystem::path& path,
                                       SaveFormat format, std::stop_token cancel) {
    if (format == SaveFormat::wav) return take->recorder->save(path);
    const EncodedFormat encoded = format == SaveFormat::flac   ? EncodedFormat::flac
                                  : format == SaveFormat::opus ? EncodedFormat::opus
                                                               : EncodedFormat::mp3;
    // Told in whole percents: the panel shows no more, and its thread is woken a hundred times.
    int told = -1;
    const auto progress = [this, &told, weak = std::weak_ptr<Take>(take)](double done) {
        const int percent = static_cast<int>(done * 100);
        if (percent == told) return;
        told = percent;
        tell([this, weak, done] {
            if (isCurrent(weak) && takeHandlers_.saveProgress) takeHandlers_.saveProgress(done);
        });
    };
    return take->recorder->saveEncoded(path, encoded, std::move(cancel), progress);
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

bool SoundEngine::inputClipped() const { return take_ && take_->recorder->clipped(); }

Result<PlaybackLength, SoundError> SoundEngine::openPlayback(const std::string& path) {
    stopPlayback();
    auto player = FilePlayer::open(*backend_, pathOfUtf8(path), PlayableFiles::sound);
    if (!player) return playbackNotStarted(player.error());
    (*player)->setEndedHandler([this, number = playbackNumber_] {
        tell([this, number] {
            if (player_ && number == playbackNumber_ && playbackEnded_) playbackEnded_();
        });
    });
    player_ = std::move(*player);
    const std::int64_t frames = player_->frames();
    return PlaybackLength{frames * 1000 / player_->sampleRate(), player_->soundBytes()};
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
