// The input's level while a take records: the peak of its latest window.
#include "engine/capture_recorder.h"
#include "engine_fixture.h"

namespace murmora::testing {
namespace {

// Frames in one level window at the take's 44,100 Hz; they are delivered in 441-frame blocks.
constexpr std::size_t kWindowFrames = 44100 * audio::CaptureRecorder::kLevelWindow.count() / 1000;
constexpr std::size_t kBlockFrames = 441;

std::vector<std::int16_t> silence(std::size_t frames = kWindowFrames) { return std::vector<std::int16_t>(frames * 2); }

// Silence with one sample on the right channel of `frame`.
std::vector<std::int16_t> singlePeak(std::int16_t sample, std::size_t frame = kWindowFrames / 2) {
    auto samples = silence();
    samples[frame * 2 + 1] = sample;
    return samples;
}

class InputLevel : public EngineTest {
protected:
    void SetUp() override { ASSERT_TRUE(engine_->startTake("")); }
};

// The peak arithmetic itself is the level tests'; here, which frames it is taken of.
TEST_F(InputLevel, IsThePeakSampleMagnitudeOfTheLatestWindow) {
    const struct {
        const char* name;
        std::vector<std::int16_t> window;
        int level;
    } cases[] = {{"silence", silence(), 0},
                 {"single negative peak", singlePeak(-1000), 1000},
                 {"full scale, positive", singlePeak(32767), 32767},
                 {"full scale, negative", singlePeak(-32768), 32768},
                 {"silence after a loud window", silence(), 0}};
    for (const auto& c : cases) {
        deliver(*backend_, c.window);
        EXPECT_EQ(engine_->inputPeak(), c.level) << c.name;
    }
}

TEST_F(InputLevel, GathersSmallBlocksUntilTheWindowIsFull) {
    const auto window = singlePeak(1000, 0); // the peak in the window's first block
    const std::size_t lastBlock = (kWindowFrames - kBlockFrames) * 2;
    deliver(*backend_, std::span(window).first(lastBlock));
    EXPECT_EQ(engine_->inputPeak(), 0) << "a window that is not full yet";
    deliver(*backend_, std::span(window).subspan(lastBlock));
    EXPECT_EQ(engine_->inputPeak(), 1000);
}

TEST_F(InputLevel, IsZeroOnceTheTakeHasEndedAndForTheNextTakeUntilItsFirstWindow) {
    deliver(*backend_, singlePeak(16384));
    ASSERT_TRUE(stop());
    EXPECT_EQ(engine_->inputPeak(), 0) << "ended";
    engine_->discardTake();
    ASSERT_TRUE(engine_->startTake(""));
    EXPECT_EQ(engine_->inputPeak(), 0) << "the next take, before a window is full";
}

} // namespace
} // namespace murmora::testing
