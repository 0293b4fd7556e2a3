// The choice of input against the test run's sound server (PulseAudio or PipeWire), by the
// backend and by the engine into a take: its default input is the 440 Hz microphone and its
// default output the null sink "nullsink"; each test adds a silent input of its own and removes
// it after.
#include "engine/backends/backends.h"
#include "engine/backends/pulse_backend.h"
#include "engine/sound_engine.h"
#include "tests/support/test_ui_thread.h"
#include "tests/support/tone_measure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include <sndfile.h>

namespace murmora::audio {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 44100;
constexpr const char* kSilentInput = "murmora_silent_input";
constexpr const char* kSilentDescription = "SilentInput";

// What a shell command printed, without its last line break; empty when it failed.
std::string output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe) return {};
    std::string text;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe.get()))
        text += buffer.data();
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// Keeps what the stream captured, up to a minute: the space is taken before the stream starts.
struct KeepingSink final : CaptureSink {
    std::vector<std::int16_t> samples;
    KeepingSink() { samples.reserve(60 * kRate * 2); }
    void onCaptured(const std::int16_t* data, std::size_t frames, bool) noexcept override {
        const std::size_t count = std::min(frames * 2, samples.capacity() - samples.size());
        if (data) samples.insert(samples.end(), data, data + count);
    }
};

// The first channel of what was captured, over its last second: a fresh input may take a
// second for its first sound.
struct Sound : testing::ToneMeasure {
    double seconds = 0; // captured in all
    Sound() = default;
    explicit Sound(const std::vector<std::int16_t>& captured)
        : seconds(static_cast<double>(captured.size() / 2) / kRate) {
        const std::size_t frames = captured.size() / 2;
        for (std::size_t i = frames > kRate ? frames - kRate : 0; i < frames; ++i)
            samples.push_back(captured[2 * i] / 32768.0);
    }
};

class InputChoiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        toneInput_ = output("pactl get-default-source 2>/dev/null");
        if (toneInput_.empty()) {
            if (std::getenv("CI")) FAIL() << "no sound server answers";
            GTEST_SKIP() << "no sound server answers";
        }
        // A null sink, and an input over its monitor.
        sinkModule_ = loadModule(std::string("module-null-sink sink_name=murmora_quiet ") +
                                 "sink_properties=device.description=Quiet");
        inputModule_ = loadModule(std::string("module-remap-source master=murmora_quiet.monitor source_name=") +
                                  kSilentInput + " source_properties=device.description=" + kSilentDescription);
        ASSERT_FALSE(sinkModule_.empty() || inputModule_.empty()) << "the silent input could not be made";
        // Silence played to it at the pace of the microphone's tone, so that it delivers as often.
        feeder_ = output(std::string("pacat -p -d murmora_quiet --raw --rate=44100 --channels=2 --format=s16le ") +
                         "--latency-msec=20 </dev/zero >/dev/null 2>&1 & echo $!");
        // A fresh input takes over a second for its first frames: read past that here, as the
        // test microphone's set-up does.
        static_cast<void>(std::system(
            ("timeout 10 parec -d " + std::string(kSilentInput) + " --raw 2>/dev/null | head -c 88200 >/dev/null")
                .c_str()));
    }
    void TearDown() override {
        if (!feeder_.empty()) static_cast<void>(std::system(("kill " + feeder_).c_str()));
        for (const std::string& module : {inputModule_, sinkModule_})
            if (!module.empty())
                static_cast<void>(std::system(("pactl unload-module " + module + " 2>/dev/null").c_str()));
    }

    static std::string loadModule(const std::string& arguments) {
        return output("pactl load-module " + arguments + " 2>/dev/null");
    }
    void removeSilentInput() {
        ASSERT_EQ(std::system(("pactl unload-module " + inputModule_).c_str()), 0);
        inputModule_.clear();
    }

    // Records `length` from `input` and tells whether the default came instead.
    Sound record(const std::string& input, std::chrono::milliseconds length, bool& defaultInstead) {
        KeepingSink sink;
        {
            auto opened = backend_->openCaptureFrom(input, {}, sink);
            EXPECT_TRUE(opened) << opened.error().message();
            if (!opened) return {};
            defaultInstead = opened->defaultInstead;
            EXPECT_EQ(opened->stream->start(), std::error_code());
            std::this_thread::sleep_for(length);
            EXPECT_EQ(opened->stream->stop(), std::error_code());
        }
        return Sound(sink.samples);
    }

    std::unique_ptr<AudioBackend> backend_ = makePulseBackend();
    std::string toneInput_;
    std::string sinkModule_;
    std::string inputModule_;
    std::string feeder_;
};

TEST_F(InputChoiceTest, ListsTheInputsByDescriptionThenTheSoundOfEachOutputWithTheDefaultMarked) {
    const auto inputs = backend_->listInputs();
    ASSERT_TRUE(inputs) << inputs.error().message();
    const auto named = [&inputs](const std::string& name) {
        return std::find_if(inputs->begin(), inputs->end(), [&name](const InputDevice& i) { return i.name == name; });
    };
    ASSERT_NE(named(kSilentInput), inputs->end());
    EXPECT_EQ(*named(kSilentInput), (InputDevice{kSilentInput, kSilentDescription, false, false}));
    ASSERT_NE(named("nullsink.monitor"), inputs->end());
    EXPECT_EQ(*named("nullsink.monitor"), (InputDevice{"nullsink.monitor", "NullOutput", false, true}));
    EXPECT_TRUE(
        std::is_partitioned(inputs->begin(), inputs->end(), [](const InputDevice& i) { return !i.outputSound; }));
    EXPECT_TRUE(std::none_of(inputs->begin(), inputs->end(), [](const InputDevice& i) {
        return !i.outputSound && i.name.ends_with(".monitor");
    })) << "the sound of an output is listed as a device's input";
    ASSERT_EQ(std::count_if(inputs->begin(), inputs->end(), [](const InputDevice& i) { return i.isDefault; }), 1);
    EXPECT_TRUE(named(toneInput_)->isDefault);
}

TEST_F(InputChoiceTest, TheSoundAnOutputPlaysIsRecordedFromItsMonitor) {
    const fs::path known = fs::temp_directory_path() / ("murmora-known-" + std::to_string(::getpid()) + ".wav");
    ASSERT_EQ(std::system(("sox -q -n -r 44100 -c 2 -b 16 '" + known.string() + "' synth 8 sine 1000 vol 0.5").c_str()),
              0);
    const std::string player = output("paplay --device=nullsink '" + known.string() + "' >/dev/null 2>&1 & echo $!");
    bool defaultInstead = true;
    const Sound played = record("nullsink.monitor", 2500ms, defaultInstead);
    static_cast<void>(std::system(("kill " + player + " 2>/dev/null").c_str()));
    fs::remove(known);
    EXPECT_FALSE(defaultInstead);
    EXPECT_NEAR(played.rms(), 0.354, 0.05);
    EXPECT_GT(played.shareAt(1000), 0.8) << "not the known file's tone";
}

// Takes by the engine, as the panel records them: from the input it names, into the take file.
class EngineInputChoiceTest : public InputChoiceTest {
protected:
    void SetUp() override {
        InputChoiceTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        takes_ = fs::temp_directory_path() / ("murmora-input-takes-" + std::to_string(::getpid()));
        engine_ = std::make_unique<SoundEngine>(makeAudioBackend(), takes_, ui_);
        engine_->setTakeHandlers({.ended = [this](const TakeEnd& end) { ended_ = end; },
                                  .saved = [this](const SoundError& error) { saved_ = error; },
                                  .saveProgress = {}});
    }
    void TearDown() override {
        engine_.reset();
        fs::remove_all(takes_);
        InputChoiceTest::TearDown();
    }

    // Starts a take from `input`; whether the default came instead.
    bool startFrom(const std::string& input) {
        const auto started = engine_->startTake(input);
        EXPECT_TRUE(started) << started.error().text;
        return started && started->defaultInstead;
    }
    // Ends the take after `length`, saves it and reads back its last second.
    Sound stopAndRead(std::chrono::milliseconds length) {
        std::this_thread::sleep_for(length);
        engine_->stopTake();
        EXPECT_TRUE(ui_.runUntil([this] { return ended_.has_value(); }));
        const fs::path saved = takes_ / "saved.wav";
        engine_->saveTake(saved.string(), SaveFormat::wav);
        EXPECT_TRUE(ui_.runUntil([this] { return saved_.has_value(); }));
        std::vector<std::int16_t> samples(60 * kRate * 2);
        SF_INFO info{};
        SNDFILE* file = sf_open(saved.c_str(), SFM_READ, &info);
        if (!file) return {};
        samples.resize(static_cast<std::size_t>(sf_readf_short(file, samples.data(), 60 * kRate) * 2));
        sf_close(file);
        return Sound(samples);
    }

    testing::TestUiThread ui_;
    fs::path takes_;
    std::unique_ptr<SoundEngine> engine_;
    std::optional<TakeEnd> ended_;
    std::optional<SoundError> saved_;
};

TEST_F(EngineInputChoiceTest, ATakeRecordsTheChosenInputAndTheDefaultWhenNoneIsChosen) {
    EXPECT_FALSE(startFrom(kSilentInput));
    const Sound silent = stopAndRead(2500ms);
    EXPECT_GT(silent.seconds, 0.9) << "the silent input delivered too little to tell";
    EXPECT_LT(silent.rms(), 0.001) << "the silent input was not the one recorded";
    ended_.reset();
    saved_.reset();
    EXPECT_FALSE(startFrom(""));
    EXPECT_GT(stopAndRead(2500ms).shareAt(440), 0.8) << "the default input was not recorded";
}

TEST_F(EngineInputChoiceTest, AChosenInputRemovedBeforeATakeGivesATakeOfTheDefaultAndSaysSo) {
    removeSilentInput();
    EXPECT_TRUE(startFrom(kSilentInput));
    EXPECT_GT(stopAndRead(2500ms).shareAt(440), 0.8) << "the default input was not recorded";
}

TEST_F(EngineInputChoiceTest, AChosenInputRemovedDuringATakeEndsItAsALostInput) {
    EXPECT_FALSE(startFrom(kSilentInput));
    std::this_thread::sleep_for(1s);
    removeSilentInput();
    ASSERT_TRUE(ui_.runUntil([this] { return ended_.has_value(); }, 4s)) << "the take went on";
    EXPECT_EQ(ended_->early.failure, SoundFailure::deviceLost);
    EXPECT_EQ(ended_->early.text, "The sound device went away");
}

// The silent input is the monitor of the sink "murmora_quiet": a tone played there is recorded.
TEST_F(EngineInputChoiceTest, ATakeOfAToneAtFullScaleHasClippedAndOneAtMinus6DbfsHasNot) {
    EXPECT_FALSE(startFrom(""));
    std::this_thread::sleep_for(2s);
    EXPECT_GT(engine_->inputPeak().value_or(0), 16000) << "the tone did not arrive";
    EXPECT_FALSE(engine_->inputClipped()) << "the -6 dBFS tone";
    engine_->discardTake();

    const std::string loud = output(std::string("sox -q -n -r 44100 -c 2 -e signed -b 16 -t raw - synth 10 sine 440 ") +
                                    "gain -n 2>/dev/null | pacat -p -d murmora_quiet --raw --rate=44100 --channels=2 " +
                                    "--format=s16le --latency-msec=20 >/dev/null 2>&1 & echo $!");
    EXPECT_FALSE(startFrom(kSilentInput));
    for (int tenth = 0; tenth < 40 && !engine_->inputClipped(); ++tenth)
        std::this_thread::sleep_for(100ms);
    static_cast<void>(std::system(("kill " + loud + " 2>/dev/null").c_str()));
    EXPECT_TRUE(engine_->inputClipped()) << "the full-scale tone was not told";
}

} // namespace
} // namespace murmora::audio
