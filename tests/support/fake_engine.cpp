#include "tests/support/fake_engine.h"

#include <algorithm>

namespace murmora::fakes {

void PrintTo(const EngineCall& call, std::ostream* out) {
    static const char* const names[] = {"startTake",    "stopTake", "saveTake",    "discardTake",
                                        "openPlayback", "play",     "stopPlayback"};
    *out << names[call.kind];
    if (!call.path.empty()) *out << "(" << call.path << ")";
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

void FakeEngine::endPlayback(bool lost) {
    told_.push_back([this, lost, number = playbackNumber_] {
        if (number == playbackNumber_ && playbackEnded_) playbackEnded_(lost);
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

SoundError FakeEngine::startTake() {
    note({EngineCall::startTake, {}});
    if (!startFailure) takeNumber_ = ++takesMade_;
    return startFailure;
}

void FakeEngine::stopTake() {
    note({EngineCall::stopTake, {}});
    tell(takeNumber_, [this, end = takeEnd] {
        if (handlers_.ended) handlers_.ended(end);
    });
}

void FakeEngine::saveTake(const std::string& path) {
    note(saveTakeAt(path));
    const SoundError outcome = saveOutcome ? saveOutcome(path) : saveToFakeFiles(path);
    tell(takeNumber_, [this, outcome] {
        if (!outcome) takeNumber_ = 0; // saved: the engine lets go of it
        if (handlers_.saved) handlers_.saved(outcome);
    });
}

SoundError FakeEngine::saveToFakeFiles(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || !files_.folders.count(slash == 0 ? "/" : path.substr(0, slash)))
        return {SoundFailure::notSaved, kNoFolder};
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
