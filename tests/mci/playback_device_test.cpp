#include "mci_test_support.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace murmora::mci::testing {
namespace {

class PlaybackTest : public ServiceTest {
protected:
    void openFile(std::size_t frames, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
        samples_ = rampFrames(frames, 100);
        writeWav(scratch_ / "play me.wav", samples_, format);
        ASSERT_EQ(ServiceTest::openFile(scratch_ / "play me.wav"), kSuccess);
    }
    // Pulls until `frames` sounding frames have come out or the stream has ended; the frames are
    // never silent, so silence is the output waiting for the reader and is left out.
    std::vector<std::int16_t> pullSounding(std::size_t frames) {
        std::vector<std::int16_t> heard;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (heard.size() < frames * 2 && std::chrono::steady_clock::now() < deadline) {
            const auto block = backend_->pullPlayback(std::min<std::size_t>(256, frames - heard.size() / 2));
            if (block.empty()) break;
            std::copy_if(block.begin(), block.end(), std::back_inserter(heard), [](std::int16_t s) { return s != 0; });
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        return heard;
    }
    std::vector<std::int16_t> samples_;
};

TEST_F(PlaybackTest, LengthIsInMillisecondsOrBytesOfStoredAudioDataAndNoneForAnEmptyWave) {
    openFile(22050);
    EXPECT_EQ(status("voice1 length"), "500");
    ASSERT_EQ(send("set voice1 time format bytes"), kSuccess);
    EXPECT_EQ(status("voice1 length"), "88200");
    ASSERT_EQ(send("set voice1 time format ms"), kSuccess);
    EXPECT_EQ(status("voice1 length"), "500");
    ASSERT_EQ(send("close voice1"), kSuccess);
    openFile(1000, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    ASSERT_EQ(send("set voice1 time format bytes"), kSuccess);
    EXPECT_EQ(status("voice1 length"), "6000");
    ASSERT_EQ(send("close voice1"), kSuccess);
    openFile(0); // an empty wave has no length and plays nothing
    EXPECT_EQ(status("voice1 length"), "0");
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_TRUE(pullSounding(1).empty());
    EXPECT_EQ(status("voice1 mode"), "stopped");
}

TEST_F(PlaybackTest, ATakeRecordedHereUnderANameWithBlanksAndUnicodePlaysEveryFrameInOrder) {
    const auto path = scratch_ / "Aufnahme vom Mai – 音.wav";
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    ASSERT_EQ(send("record capture"), kSuccess);
    const auto frames = rampFrames(4410, 100);
    deliver(frames);
    ASSERT_EQ(send("save capture " + path.string()), kSuccess);
    ASSERT_EQ(ServiceTest::openFile(path), kSuccess);
    EXPECT_EQ(status("voice1 length"), "100");
    EXPECT_EQ(status("voice1 mode"), "stopped");
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(status("voice1 mode"), "playing");
    auto heard = pullSounding(4409);
    EXPECT_EQ(status("voice1 mode"), "playing"); // until the last frame is out
    const auto last = pullSounding(2);
    heard.insert(heard.end(), last.begin(), last.end());
    EXPECT_EQ(heard, frames);
    EXPECT_TRUE(backend_->pullPlayback(256).empty()); // the stream has ended
    EXPECT_EQ(status("voice1 mode"), "stopped");
}

TEST_F(PlaybackTest, AFileLongerThanTheRingIsReadWhileItPlays) {
    openFile(200000);
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(pullSounding(200001), samples_);
    EXPECT_EQ(status("voice1 mode"), "stopped");
}

TEST_F(PlaybackTest, StopEndsAtOncePlayResumesAndCloseFreesTheAlias) {
    openFile(3000);
    ASSERT_EQ(send("play voice1"), kSuccess);
    auto heard = pullSounding(1000);
    ASSERT_EQ(send("stop voice1"), kSuccess);
    EXPECT_EQ(status("voice1 mode"), "stopped");
    EXPECT_TRUE(backend_->pullPlayback(256).empty());
    ASSERT_EQ(send("play voice1"), kSuccess);
    const auto rest = pullSounding(2000);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(heard, samples_);
    ASSERT_EQ(send("play voice1"), kSuccess);
    ASSERT_EQ(send("close voice1"), kSuccess);
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_EQ(send("status voice1 mode"), kAliasNotOpen);
    EXPECT_EQ(ServiceTest::openFile(scratch_ / "play me.wav"), kSuccess);
}

} // namespace
} // namespace murmora::mci::testing
