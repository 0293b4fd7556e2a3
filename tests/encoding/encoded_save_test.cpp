// A take saved in each format through the engine, as the panel saves it: encoded on the engine's
// worker with its progress told, the take kept when the disk fills or the user cancels, and the
// file played back with its length and size. The take is fed through the scripted backend.
#include "engine/sound_engine.h"
#include "tests/support/decoded_sound.h"
#include "tests/support/scripted_backend.h"
#include "tests/support/test_ui_thread.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <chrono>
#include <cmath>
#include <numbers>
#include <thread>

namespace murmora::audio {
namespace {
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr int kRate = 44100;

struct FormatCase {
    SaveFormat format;
    EncodedFormat encoded;
    const char* extension;
    int playedRate; // libsndfile decodes Opus at Opus's own 48 kHz
    friend void PrintTo(const FormatCase& format, std::ostream* out) { *out << format.extension; }
};

class EncodedSave : public ::testing::TestWithParam<FormatCase> {
protected:
    void SetUp() override {
        engine_.setTakeHandlers({.ended = [this](const TakeEnd&) { ended_ = true; },
                                 .saved = [this](const SoundError& error) { saved_ = error; },
                                 .saveProgress = [this](double done) { progress_.push_back(done); }});
    }
    // Records `seconds` of a 440 Hz tone at -6 dBFS and ends the take.
    void recordTone(int seconds) {
        ASSERT_TRUE(engine_.startTake(""));
        std::vector<std::int16_t> block(2 * kRate);
        for (int second = 0; second < seconds; ++second) {
            for (std::size_t i = 0; i < block.size() / 2; ++i) {
                const double t = second + static_cast<double>(i) / kRate;
                block[2 * i] = block[2 * i + 1] =
                    static_cast<std::int16_t>(std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * t)));
            }
            ASSERT_TRUE(backend_.deliverCapture(block));
            // The take's ring holds a few seconds: its writer, which looks every 200 ms, empties it.
            if (second % 4 == 3) std::this_thread::sleep_for(300ms);
        }
        engine_.stopTake();
        ASSERT_TRUE(ui_.runUntil([this] { return ended_; }));
    }
    // Saves the take at `path` in `format` and waits for the outcome.
    SoundError save(const fs::path& path, SaveFormat format) {
        saved_.reset();
        progress_.clear();
        engine_.saveTake(path, format);
        EXPECT_TRUE(ui_.runUntil([this] { return saved_.has_value(); })) << "no outcome within a minute";
        return saved_.value_or(SoundError{SoundFailure::notSaved, "no outcome"});
    }
    fs::path target(const fs::path& folder) const { return folder / (std::string("take.") + GetParam().extension); }

    testing::EncodingFolder folder_;
    const fs::path& work_ = folder_.path;
    testing::TestUiThread ui_;
    std::unique_ptr<ScriptedBackend> owned_ = std::make_unique<ScriptedBackend>();
    ScriptedBackend& backend_ = *owned_;
    SoundEngine engine_{std::move(owned_), work_ / "takes", ui_};
    bool ended_ = false;
    std::optional<SoundError> saved_;
    std::vector<double> progress_;
};

TEST_P(EncodedSave, AFullDiskKeepsTheTakeWhichThenSavesAsTheToneOfItsLengthAndPlaysWithItsLengthAndSize) {
    recordTone(30); // more than the small disk holds in any format
    if (const fs::path disk = folder_.smallDisk(); !disk.empty()) {
        const SoundError full = save(target(disk), GetParam().format);
        ASSERT_EQ(full.failure, SoundFailure::notSaved);
        EXPECT_EQ(full.text, "The file could not be saved (No space left on device)");
        EXPECT_TRUE(fs::is_empty(disk)) << "nothing partial is left";
    } else if (std::getenv("CI")) {
        FAIL() << "a small tmpfs could not be mounted";
    }
    const fs::path saved = target(work_);
    ASSERT_EQ(save(saved, GetParam().format).failure, SoundFailure::none);
    ASSERT_FALSE(progress_.empty());
    EXPECT_TRUE(std::is_sorted(progress_.begin(), progress_.end()));
    EXPECT_LE(progress_.size(), 101u) << "told in whole percents";
    const testing::Decoded decoded = testing::decode(saved, GetParam().encoded, work_ / "decoded.wav");
    EXPECT_GT(decoded.shareAt(440), 0.9);
    EXPECT_NEAR(decoded.rms(), 0.5 / std::sqrt(2.0), 0.035);
    EXPECT_TRUE(testing::holdsTheTakesLength(decoded, GetParam().encoded, 30 * kRate)) << decoded.frames << " frames";

    const auto length = engine_.openPlayback(saved.string());
    ASSERT_TRUE(length) << length.error().text;
    EXPECT_NEAR(static_cast<double>(length->milliseconds), 30000, 50);
    EXPECT_EQ(length->bytes, static_cast<std::int64_t>(fs::file_size(saved)));
    ASSERT_EQ(engine_.play().failure, SoundFailure::none);
    const int rate = GetParam().playedRate;
    const auto played = backend_.pullPlayback(static_cast<std::size_t>(rate));
    testing::ToneMeasure sound{{}, rate};
    for (std::size_t i = 0; i < played.size(); i += 2)
        sound.samples.push_back(played[i] / 32768.0);
    EXPECT_GT(sound.shareAt(440), 0.9) << "not played as the tone";
    EXPECT_NEAR(sound.rms(), 0.5 / std::sqrt(2.0), 0.035);
}

TEST_P(EncodedSave, ACancelInTheMiddleKeepsTheTakeWhole) {
    recordTone(60);
    const fs::path encoded = target(work_);
    saved_.reset();
    engine_.saveTake(encoded, GetParam().format);
    ASSERT_TRUE(ui_.runUntil([this] { return !progress_.empty() || saved_; }));
    engine_.cancelSave();
    ASSERT_TRUE(ui_.runUntil([this] { return saved_.has_value(); }));
    EXPECT_EQ(saved_->failure, SoundFailure::saveCancelled);
    EXPECT_LT(progress_.back(), 1.0) << "the cancel came too late to test";
    EXPECT_FALSE(fs::exists(encoded));
    const fs::path wav = work_ / "take.wav";
    ASSERT_EQ(save(wav, SaveFormat::wav).failure, SoundFailure::none);
    SF_INFO info{};
    SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    sf_close(file);
    EXPECT_EQ(info.frames, 60 * kRate);
    EXPECT_TRUE(progress_.empty()) << "a WAV take is moved, not encoded";
}

INSTANTIATE_TEST_SUITE_P(Formats, EncodedSave,
                         ::testing::Values(FormatCase{SaveFormat::flac, EncodedFormat::flac, "flac", kRate},
                                           FormatCase{SaveFormat::opus, EncodedFormat::opus, "opus", 48000},
                                           FormatCase{SaveFormat::mp3, EncodedFormat::mp3, "mp3", kRate}),
                         [](const auto& info) { return std::string(info.param.extension); });

} // namespace
} // namespace murmora::audio
