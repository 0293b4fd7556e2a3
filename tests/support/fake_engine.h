#pragma once
// A take and playback engine that notes every call, answers as the test scripts it, and keeps
// what it tells the panel until the test delivers it, as the real engine posts it to the
// user-interface thread.
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/playback_engine.h"
#include "platform/take_engine.h"
#include "tests/support/fake_platform.h"

namespace murmora::fakes {

struct EngineCall {
    enum Kind {
        startTake,
        stopTake,
        pauseTake,
        resumeTake,
        saveTake,
        cancelSave,
        discardTake,
        listInputs,
        openPlayback,
        play,
        stopPlayback
    } kind;
    std::string path;                    // of saveTake and openPlayback; of startTake, the input asked for
    SaveFormat format = SaveFormat::wav; // of saveTake
    bool operator==(const EngineCall&) const = default;
};
using EngineCalls = std::vector<EngineCall>;
void PrintTo(const EngineCall& call, std::ostream* out);

inline EngineCall saveTakeAt(std::string path, SaveFormat format = SaveFormat::wav) {
    return {EngineCall::saveTake, std::move(path), format};
}
inline EngineCall startTakeFrom(std::string input) { return {EngineCall::startTake, std::move(input)}; }
inline EngineCall openPlaybackOf(std::string path) { return {EngineCall::openPlayback, std::move(path)}; }

// The words the fake gives a save into a folder that does not exist.
inline const std::string kNoFolder = "The file could not be saved (No such file or directory)";

class FakeEngine : public TakeEngine, public PlaybackEngine {
public:
    explicit FakeEngine(FakeFiles& files) : files_(files) {}

    EngineCalls calls;
    // Runs at each call, once it is noted: what the panel shows at that moment.
    std::function<void(const EngineCall&)> onCall;
    // What startTake answers: a failure, or that the input asked for is not there.
    SoundError startFailure;
    bool defaultInstead = false;
    // What listInputs answers, and the formats the engine writes.
    std::vector<SoundInput> inputs;
    SoundError listFailure;
    std::vector<SaveFormat> formats{SaveFormat::wav, SaveFormat::flac, SaveFormat::opus, SaveFormat::mp3};
    // How a take ends: its seconds, and why it ended early.
    TakeEnd takeEnd{4, {}};
    // A save, when it is delivered, writes the file where its folder exists; a save cancelled
    // before answers SoundFailure::saveCancelled.
    // Saves run until finishSave(), rather than ending at the next deliver().
    bool holdSaves = false;
    std::optional<int> peak = 0;
    bool clipped = false;
    PlaybackLength playbackLength{1500, 264600};
    SoundError openFailure;
    SoundError playFailure;

    // Runs what the engine has told, in order, until nothing is left.
    void deliver();
    // Runs the first thing the engine has told.
    void deliverNext();
    // The take ends by itself, its input lost after `seconds`; told at the next deliver().
    void loseInput(std::int64_t seconds);
    // The playing file has played to its end, or lost its output.
    void endPlayback();
    // The save under way has done `done` of its work; told at the next deliver().
    void tellSaveProgress(double done);
    // A save held (holdSaves) ends; told at the next deliver().
    void finishSave();
    // The calls since the last take().
    EngineCalls take();
    bool called(EngineCall::Kind kind) const;

    void setTakeHandlers(TakeHandlers handlers) override { handlers_ = std::move(handlers); }
    Result<std::vector<SoundInput>, SoundError> listInputs() override;
    std::vector<SaveFormat> saveFormats() const override { return formats; }
    Result<TakeStarted, SoundError> startTake(const std::string& inputName) override;
    void stopTake() override;
    void pauseTake() override;
    void resumeTake() override;
    void saveTake(const std::string& path, SaveFormat format) override;
    void cancelSave() override;
    void discardTake() override;
    std::optional<int> inputPeak() const override { return peak; }
    bool inputClipped() const override { return clipped; }

    void setPlaybackEndedHandler(std::function<void()> handler) override { playbackEnded_ = std::move(handler); }
    Result<PlaybackLength, SoundError> openPlayback(const std::string& path) override;
    SoundError play() override;
    void stopPlayback() override;

private:
    void note(EngineCall call);
    SoundError saveToFakeFiles(const std::string& path);
    // Queues what the take `number` tells; dropped should that take be gone by then.
    void tell(int number, std::function<void()> event);

    FakeFiles& files_;
    TakeHandlers handlers_;
    std::function<void()> playbackEnded_;
    std::deque<std::function<void()>> told_;
    std::size_t taken_ = 0;
    int takeNumber_ = 0; // of the take the engine holds, 0 for none
    int takesMade_ = 0;
    int playbackNumber_ = 0;   // of the file open now
    bool cancelAsked_ = false; // of the save under way
    std::string heldSave_;     // the path of the save held
};

} // namespace murmora::fakes
