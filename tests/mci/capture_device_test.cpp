// The capture device on a scripted backend: what the take file holds after stop and save.
#include "mci_test_support.h"
#include "platform/audio/take_file.h"
#include "platform/mci/mci_errors.h"

#include <sndfile.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace murmora::mci::testing {
namespace {

class CaptureTest : public ServiceTest {
protected:
    void SetUp() override { ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess); }
    std::string status(const std::string& item) {
        EXPECT_EQ(send("status capture " + item), kSuccess);
        return reply_;
    }
};

TEST_F(CaptureTest, ANewTakeIsAnEmptyWavInTheTakeFolder) {
    const auto files = takeFiles();
    ASSERT_EQ(files.size(), 1u);
    const WavContents take = readWav(files[0]);
    EXPECT_TRUE(take.readable);
    EXPECT_EQ(take.sampleRate, 44100);
    EXPECT_EQ(take.channels, 2);
    EXPECT_TRUE(take.samples.empty());
    EXPECT_EQ(status("length"), "0");
}

TEST_F(CaptureTest, RecordingReadsRecordingUntilStopped) {
    EXPECT_EQ(status("mode"), "stopped");
    ASSERT_EQ(send("record capture"), kSuccess);
    EXPECT_EQ(status("mode"), "recording");
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(CaptureTest, AfterStopTheFileHoldsEveryFrameDelivered) {
    const auto frames = rampFrames(44100);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, frames);
    EXPECT_EQ(status("length"), "1000");
    ASSERT_EQ(send("set capture time format bytes"), kSuccess);
    EXPECT_EQ(status("length"), "176400");
}

TEST_F(CaptureTest, FramesArrivingWhileStoppedAreNotPartOfTheTake) {
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(rampFrames(1000));
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_FALSE(backend_->deliverCapture(rampFrames(500)));
    EXPECT_EQ(readWav(takeFiles().at(0)).samples.size(), 2000u);
}

TEST_F(CaptureTest, RecordAfterStopAppendsToTheTake) {
    const auto first = rampFrames(3000, 2, 1);
    const auto second = rampFrames(2000, 2, 5);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(first);
    ASSERT_EQ(send("stop capture"), kSuccess);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(second);
    ASSERT_EQ(send("stop capture"), kSuccess);
    auto expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, expected);
}

TEST_F(CaptureTest, TheHeaderIsKeptCurrentWhileRecording) {
    const auto frames = rampFrames(22050);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (readWav(takeFiles().at(0)).samples.size() < frames.size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, frames);
    EXPECT_EQ(status("mode"), "recording");
}

TEST_F(CaptureTest, SaveStopsAndPutsTheWholeTakeAtThePath) {
    const auto frames = rampFrames(10000);
    const auto target = scratch_ / "my take.wav";
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_EQ(readWav(target).samples, frames);
    EXPECT_TRUE(takeFiles().empty());
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_EQ(readWav(target).samples, frames);
}

TEST_F(CaptureTest, SaveReplacesAnExistingFile) {
    const auto target = scratch_ / "old.wav";
    writeWav(target, rampFrames(50000), 2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    const auto frames = rampFrames(700, 2, 9);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    ASSERT_EQ(send("stop capture"), kSuccess);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess);
    EXPECT_EQ(readWav(target).samples, frames);
}

TEST_F(CaptureTest, ASecondSaveAfterAFailedOneKeepsTheWholeTake) {
    const auto frames = rampFrames(8000);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_EQ(send("save capture " + (scratch_ / "no such folder" / "a.wav").string()), kFileNotSaved);
    EXPECT_EQ(send("save capture " + scratch_.path().string()), kFileNotSaved); // a folder
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, frames);
    ASSERT_EQ(send("save capture " + (scratch_ / "b.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "b.wav").samples, frames);
}

TEST_F(CaptureTest, ASavedTakeCanBeSavedAgainButNotRecordedOn) {
    const auto frames = rampFrames(4000);
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(frames);
    ASSERT_EQ(send("save capture " + (scratch_ / "first.wav").string()), kSuccess);
    ASSERT_EQ(send("save capture " + (scratch_ / "second.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "first.wav").samples, frames);
    EXPECT_EQ(readWav(scratch_ / "second.wav").samples, frames);
    EXPECT_EQ(send("record capture"), kDeviceNotReady);
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_TRUE(std::filesystem::exists(scratch_ / "first.wav"));
    EXPECT_TRUE(std::filesystem::exists(scratch_ / "second.wav"));
}

TEST_F(CaptureTest, CloseWithoutSaveLeavesNoFile) {
    ASSERT_EQ(send("record capture"), kSuccess);
    deliver(rampFrames(5000));
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_TRUE(takeFiles().empty());
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_EQ(send("status capture mode"), kAliasNotOpen);
}

TEST_F(CaptureTest, OnlyATakeNoProgramHoldsCountsAsLeftBehind) {
    // The open take is held; a file of the same kind that nobody holds was left by a run that
    // was killed; hidden files and other kinds of file are no takes.
    std::filesystem::copy_file(takeFiles().at(0), takeFolder_ / "take-99999-0.wav");
    std::ofstream(takeFolder_ / ".hidden.wav") << "x";
    std::ofstream(takeFolder_ / "notes.txt") << "x";
    EXPECT_EQ(audio::unheldTakes(takeFolder_), std::vector<std::filesystem::path>{takeFolder_ / "take-99999-0.wav"});
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_TRUE(audio::unheldTakes(scratch_ / "no such folder").empty());
}

TEST_F(CaptureTest, ClosingTheServiceDiscardsAnUnsavedTake) {
    {
        MciStringService other(std::make_unique<audio::ScriptedBackend>(), scratch_ / "other");
        ASSERT_EQ(other.SendString("open new type waveaudio alias capture", nullptr, 0), kSuccess);
        ASSERT_EQ(other.SendString("record capture", nullptr, 0), kSuccess);
    }
    EXPECT_TRUE(std::filesystem::is_empty(scratch_ / "other"));
}

TEST_F(CaptureTest, FramesTheRingCannotHoldAreCountedAsLost) {
    const auto& recorder = dynamic_cast<const CaptureDevice&>(*service_.device("capture")).recorder();
    ASSERT_EQ(send("record capture"), kSuccess);
    // More than the ring holds, delivered in one go before the writer can take any.
    const auto frames = rampFrames(recorder.ringCapacityFrames() + 1000);
    backend_->deliverCapture(frames);
    ASSERT_EQ(send("stop capture"), kSuccess);
    const auto kept = readWav(takeFiles().at(0)).samples.size() / 2;
    EXPECT_GT(recorder.framesLost(), 0);
    EXPECT_EQ(static_cast<std::int64_t>(kept) + recorder.framesLost(), static_cast<std::int64_t>(frames.size() / 2));
}

} // namespace
} // namespace murmora::mci::testing
