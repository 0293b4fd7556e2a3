// "status capture level": the peak of the input's latest level window while recording.
#include "mci_test_support.h"

namespace murmora::mci::testing {
namespace {

// Frames in one level window at the take's 44,100 Hz; the service delivers them in 441-frame blocks.
constexpr std::size_t kWindowFrames = 44100 * audio::CaptureRecorder::kLevelWindow.count() / 1000;
constexpr std::size_t kBlockFrames = 441;

std::vector<std::int16_t> silence(std::size_t frames = kWindowFrames) { return std::vector<std::int16_t>(frames * 2); }

// Silence with one sample on the right channel of `frame`.
std::vector<std::int16_t> singlePeak(std::int16_t sample, std::size_t frame = kWindowFrames / 2) {
    auto samples = silence();
    samples[frame * 2 + 1] = sample;
    return samples;
}

class InputLevel : public ServiceTest {
protected:
    void SetUp() override {
        ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
        ASSERT_EQ(send("record capture"), kSuccess);
    }
};

// The peak arithmetic itself is the level tests'; here, what the service answers of it.
TEST_F(InputLevel, IsThePeakSampleValueOfTheLatestWindowUpToTheLargest16BitSample) {
    const struct {
        const char* name;
        std::vector<std::int16_t> window;
        const char* level;
    } cases[] = {{"silence", silence(), "0"},
                 {"single negative peak", singlePeak(-1000), "1000"},
                 {"full scale, positive", singlePeak(32767), "32767"},
                 {"full scale, negative", singlePeak(-32768), "32767"}};
    for (const auto& c : cases) {
        deliver(c.window);
        EXPECT_EQ(status("capture level"), c.level) << c.name;
    }
}

TEST_F(InputLevel, FallsToSilenceWithTheFirstSilentWindowAfterALoudOne) {
    deliver(singlePeak(16384));
    deliver(silence());
    EXPECT_EQ(status("capture level"), "0");
}

TEST_F(InputLevel, GathersSmallBlocksUntilTheWindowIsFull) {
    const auto window = singlePeak(1000, 0); // the peak in the window's first block
    const std::size_t lastBlock = (kWindowFrames - kBlockFrames) * 2;
    deliver({window.begin(), window.begin() + static_cast<std::ptrdiff_t>(lastBlock)});
    EXPECT_EQ(status("capture level"), "0") << "a window that is not full yet";
    deliver({window.begin() + static_cast<std::ptrdiff_t>(lastBlock), window.end()});
    EXPECT_EQ(status("capture level"), "1000");
}

TEST_F(InputLevel, IsZeroOutsideRecordingAndStartsAgainFromZeroWithTheNextRecord) {
    deliver(singlePeak(16384));
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_EQ(status("capture level"), "0") << "stopped";
    ASSERT_EQ(send("record capture"), kSuccess);
    EXPECT_EQ(status("capture level"), "0") << "recording again, before a window is full";
}

TEST_F(InputLevel, APlaybackDeviceHasNone) {
    writeWav(scratch_ / "a.wav", rampFrames(1000));
    ASSERT_EQ(openFile(scratch_ / "a.wav"), kSuccess);
    EXPECT_EQ(send("status voice1 level"), kUnsupportedFunction);
}

} // namespace
} // namespace murmora::mci::testing
