#pragma once
#include "engine/sound_engine.h"
#include "platform/ui_thread.h"
#include "tests/support/take_samples.h"
#include "tests/support/test_ui_thread.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace murmora::testing {

// How long a test waits for an event of the engine.
inline constexpr auto kEventLimit = std::chrono::seconds(5);

// Whether `holds()` within the limit, for what the engine does on its worker without telling.
inline bool eventually(const std::function<bool()>& holds) {
    const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
    while (!holds()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The engine on a scripted backend, with takes in a scratch folder; what its handlers were told.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() { makeEngine(); }

    // A new engine in place of the one before, which goes first.
    void makeEngine() {
        engine_.reset();
        backend_ = new audio::ScriptedBackend;
        engine_ =
            std::make_unique<audio::SoundEngine>(std::unique_ptr<audio::AudioBackend>(backend_), takeFolder_, ui_);
        engine_->setTakeHandlers({[this](const TakeEnd& end) { ends_.push_back(end); },
                                  [this](const SoundError& error) { saves_.push_back(error); },
                                  {}});
        engine_->setPlaybackEndedHandler([this] { ++playbackEnds_; });
    }

    // Starts a take and delivers `frames` frames to it.
    std::vector<std::int16_t> record(std::size_t frames, std::int16_t start = 1) {
        const auto samples = rampFrames(frames, start);
        EXPECT_TRUE(engine_->startTake(""));
        deliver(*backend_, samples);
        return samples;
    }
    // How the take ended, once the engine has told it; nothing when it did not within 5 s.
    std::optional<TakeEnd> told() {
        if (!ui_.runUntil([this] { return !ends_.empty(); }, kEventLimit)) return std::nullopt;
        return ends_.back();
    }
    // Stops the take and waits for its end.
    std::optional<TakeEnd> stop() {
        engine_->stopTake();
        return told();
    }
    // Saves the take at `path` and waits for the outcome.
    SoundError save(const fs::path& path) {
        const std::size_t before = saves_.size();
        engine_->saveTake(path.string(), SaveFormat::wav);
        EXPECT_TRUE(ui_.runUntil([&] { return saves_.size() > before; }, kEventLimit)) << "no save told";
        return saves_.size() > before ? saves_.back() : SoundError{SoundFailure::notSaved, "not told"};
    }
    std::vector<fs::path> takeFiles() const { return filesIn(takeFolder_); }
    // Whether the take folder is empty within 5 s: the engine's worker lets a take's file go.
    bool takeFolderEmpties() const {
        return eventually([this] { return takeFiles().empty(); });
    }

    ScratchFolder scratch_;
    fs::path takeFolder_ = scratch_ / "takes";
    TestUiThread ui_; // outlives the engine, which posts to it
    audio::ScriptedBackend* backend_ = nullptr;
    std::unique_ptr<audio::SoundEngine> engine_;
    std::vector<TakeEnd> ends_;
    std::vector<SoundError> saves_;
    int playbackEnds_ = 0;
};

} // namespace murmora::testing
