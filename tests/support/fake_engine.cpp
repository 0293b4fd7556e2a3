#include "tests/support/fake_engine.h"

#include <algorithm>
#include <utility>

#include "core/paths.h"

namespace murmora::fakes {

void PrintTo(const EngineCall& call, std::ostream* out) {
    static const char* const names[] = {"startTake",    "stopTake",   "pauseTake",   "resumeTake",
                                        "saveTake",     "cancelSave", "discardTake", "listInputs",
                                        "openPlayback", "play",       "stopPlayback"};
    static const char* const formats[] = {"wav", "flac", "opus", "mp3"};
    *out << names[call.kind];
    if (!call.path.empty()) *out << "(" << call.path << ")";
    if (call.kind == EngineCall::saveTake) *out << " as " << formats[static_cast<int>(call.format)];
}

void FakeEngine::deliver() {
    while (!told_.empty())
        deliverNext();
}

void FakeEngine::deliverNext() {
    if (told_.empty()) return;
    auto event = std::move(told_.front());
    told_.pop_front();
    event();
}

void FakeEngine::tell(int number, std::function<void()> event) {
    told_.push_back([this, number, event = std::move(event)] {
        if (number == takeNumber_) event();
    });
}

void FakeEngine::loseInput(std::int64_t seconds) {
    tell(takeNumber_, [this, seconds] {
        if (handlers_.ended) handlers_.ended({seconds, {SoundFailure::deviceLost, "The sound device went away"}});
    });
}

void FakeEngine::endPlayback() {
    told_.push_back([this, number = playbackNumber_] {
        if (number == playbackNumber_ && playbackEnded_) playbackEnded_();
    });
}

void FakeEngine::note(EngineCall call) {
    calls.push_back(std::move(call));
    if (onCall) onCall(calls.back());
}

EngineCalls FakeEngine::take() {
    EngineCalls since(calls.begin() + static_cast<std::ptrdiff_t>(taken_), calls.end());
    taken_ = calls.size();
    return since;
}

bool FakeEngine::called(EngineCall::Kind kind) const {
    return std::any_of(calls.begin() + static_cast<std::ptrdiff_t>(taken_), calls.end(),
                       [kind](const EngineCall& call) { return call.kind == kind; });
}

void FakeEngine::tellSaveProgress(double done) {
    tell(takeNumber_, [this, done] {
        if (handlers_.saveProgress) handlers_.saveProgress(done);
    });
}

Result<std::vector<SoundInput>, SoundError> FakeEngine::listInputs() {
    note({EngineCall::listInputs, {}});
    if (listFailure) return listFailure;
    return inputs;
}

Result<TakeStarted, SoundError> FakeEngine::startTake(const std::string& inputName) {
    note(startTakeFrom(inputName));
    if (startFailure) return startFailure;
    takeNumber_ = ++takesMade_;
    return TakeStarted{defaultInstead};
}

void FakeEngine::stopTake() {
    note({EngineCall::stopTake, {}});
    tell(takeNumber_, [this, end = takeEnd] {
        if (handlers_.ended) handlers_.ended(end);
    });
}

void FakeEngine::pauseTake() { note({EngineCall::pauseTake, {}}); }

void FakeEngine::resumeTake() { note({EngineCall::resumeTake, {}}); }

void FakeEngine::saveTake(const std::string& path, SaveFormat format) {
    note(saveTakeAt(path, format));
    cancelAsked_ = false;
    heldSave_ = path;
    if (!holdSaves) finishSave();
}

void FakeEngine::finishSave() {
    tell(takeNumber_, [this, path = heldSave_] {
        const SoundError outcome = std::exchange(cancelAsked_, false)
                                       ? SoundError{SoundFailure::saveCancelled, "The save was cancelled"}
                                       : saveToFakeFiles(path);
        if (!outcome) takeNumber_ = 0; // saved: the engine lets go of it
        if (handlers_.saved) handlers_.saved(outcome);
    });
}

void FakeEngine::cancelSave() {
    note({EngineCall::cancelSave, {}});
    cancelAsked_ = true;
}

SoundError FakeEngine::saveToFakeFiles(const std::string& path) {
    if (!files_.folders.count(folderOf(path))) return {SoundFailure::notSaved, kNoFolder};
    files_.add(path);
    return {};
}

void FakeEngine::discardTake() {
    note({EngineCall::discardTake, {}});
    takeNumber_ = 0;
}

Result<PlaybackLength, SoundError> FakeEngine::openPlayback(const std::string& path) {
    note(openPlaybackOf(path));
    ++playbackNumber_; // the file open before is closed
    if (openFailure) return openFailure;
    return playbackLength;
}

SoundError FakeEngine::play() {
    note({EngineCall::play, {}});
    return playFailure;
}

void FakeEngine::stopPlayback() {
    note({EngineCall::stopPlayback, {}});
    ++playbackNumber_;
}

} // namespace murmora::fakes
