// The devices when the backend loses its streams or the sound server does not answer.
#include "mci_test_support.h"

#include <chrono>
#include <thread>

namespace murmora::mci::testing {
namespace {

class DeviceFaults : public ServiceTest {
protected:
    // The mode once it has become `mode`, or as it is after `seconds`.
    std::string modeOnceItIs(const std::string& alias, const std::string& mode, int seconds = 1) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (status(alias + " mode") != mode && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return reply_;
    }
    std::vector<std::int16_t> recordSome() {
        EXPECT_EQ(send("open new type waveaudio alias capture"), kSuccess);
        EXPECT_EQ(send("record capture"), kSuccess);
        const auto frames = rampFrames(4410);
        deliver(frames);
        return frames;
    }
};

TEST_F(DeviceFaults, ALostInputEndsTheTakeAtItsLastFrameWhichSaves) {
    const auto frames = recordSome();
    backend_->loseStreams();
    EXPECT_EQ(modeOnceItIs("capture", "not ready"), "not ready");
    EXPECT_EQ(send("stop capture"), kDeviceLost);
    EXPECT_EQ(send("record capture"), kDeviceLost);
    EXPECT_EQ(status("capture length"), "100");
    ASSERT_EQ(send("save capture " + (scratch_ / "kept.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "kept.wav"), frames);
}

TEST_F(DeviceFaults, AnInputThatFallsSilentWhileRecordingCountsAsLost) {
    const auto frames = recordSome();
    EXPECT_EQ(status("capture mode"), "recording");
    EXPECT_EQ(modeOnceItIs("capture", "not ready", 5), "not ready");
    EXPECT_EQ(send("stop capture"), kDeviceLost);
    EXPECT_EQ(takeSamples(), frames);
}

TEST_F(DeviceFaults, ALostOutputEndsThePlayAtOnce) {
    writeWav(scratch_ / "take.wav", rampFrames(44100));
    ASSERT_EQ(openFile(scratch_ / "take.wav"), kSuccess);
    ASSERT_EQ(send("play voice1"), kSuccess);
    backend_->loseStreams();
    EXPECT_EQ(status("voice1 mode"), "not ready");
    EXPECT_EQ(send("play voice1"), kDeviceLost);
    EXPECT_EQ(send("close voice1"), kSuccess);
}

TEST_F(DeviceFaults, EveryCallTheServerDoesNotAnswerSaysSoAndAStopKeepsTheTake) {
    writeWav(scratch_ / "take.wav", rampFrames(100));
    ASSERT_EQ(openFile(scratch_ / "take.wav"), kSuccess);
    const auto frames = recordSome();
    backend_->setAnswering(false);
    EXPECT_EQ(send("stop capture"), kServerNotAnswering);
    EXPECT_EQ(send("record capture"), kServerNotAnswering);
    EXPECT_EQ(send("play voice1"), kServerNotAnswering);
    EXPECT_EQ(send("close voice1"), kSuccess);
    EXPECT_EQ(openFile(scratch_ / "take.wav"), kServerNotAnswering);
    EXPECT_EQ(send("status voice1 mode"), kAliasNotOpen);
    ASSERT_EQ(send("save capture " + (scratch_ / "kept.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "kept.wav"), frames);
    EXPECT_EQ(send("close capture"), kSuccess);
    EXPECT_EQ(send("open new type waveaudio alias capture"), kServerNotAnswering);
    EXPECT_TRUE(takeFiles().empty());
    backend_->setAnswering(true);
    EXPECT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("record capture"), kSuccess);
}

} // namespace
} // namespace murmora::mci::testing
