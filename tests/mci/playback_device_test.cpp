// The playback device on a scripted backend: what reaches the output, and what "status" says.
#include "mci_test_support.h"
#include "platform/mci/mci_errors.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace murmora::mci::testing {
namespace {

class PlaybackTest : public ServiceTest {
protected:
    // Frames that are never silent, so that waiting for the reader shows as leading silence.
    void openFile(std::size_t frames, int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
        samples_ = rampFrames(frames, 2, 100);
        const auto path = scratch_ / "play me.wav";
        writeWav(path, samples_, 2, 44100, format);
        ASSERT_EQ(send("open " + path.string() + " type waveaudio alias voice1"), kSuccess);
    }
    std::string status(const std::string& item) {
        EXPECT_EQ(send("status voice1 " + item), kSuccess);
        return reply_;
    }
    // Pulls until `frames` sounding frames have come out (or the stream has ended), giving the
    // reader time where the output finds nothing to play yet.
    std::vector<std::int16_t> pullSounding(std::size_t frames) {
        std::vector<std::int16_t> heard;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (heard.size() < frames * 2 && std::chrono::steady_clock::now() < deadline) {
            const auto block = backend_->pullPlayback(std::min<std::size_t>(256, frames - heard.size() / 2));
            if (block.empty())
                break;
            const std::size_t before = heard.size();
            for (float sample : block)
                if (sample != 0.0f)
                    heard.push_back(static_cast<std::int16_t>(std::lround(sample * 32768.0f)));
            if (heard.size() == before)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return heard;
    }
    // Pulls until the stream has ended; answers how many sounding samples came out meanwhile.
    std::size_t pullToEnd() {
        std::size_t sounding = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto block = backend_->pullPlayback(256);
            if (block.empty())
                break;
            sounding += static_cast<std::size_t>(
                std::count_if(block.begin(), block.end(), [](float sample) { return sample != 0.0f; }));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return sounding;
    }
    std::vector<std::int16_t> samples_;
};

TEST_F(PlaybackTest, LengthIsInMillisecondsOrBytesOfAudioData) {
    openFile(22050);
    EXPECT_EQ(status("length"), "500");
    ASSERT_EQ(send("set voice1 time format bytes"), kSuccess);
    EXPECT_EQ(status("length"), "88200");
    ASSERT_EQ(send("set voice1 time format ms"), kSuccess);
    EXPECT_EQ(status("length"), "500");
}

TEST_F(PlaybackTest, BytesFollowTheStoredSampleSize) {
    openFile(1000, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
    ASSERT_EQ(send("set voice1 time format bytes"), kSuccess);
    EXPECT_EQ(status("length"), "6000");
}

TEST_F(PlaybackTest, AnEmptyWaveHasNoLength) {
    openFile(0);
    EXPECT_EQ(status("length"), "0");
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(pullToEnd(), 0u);
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(PlaybackTest, EveryFrameOfTheFileReachesTheOutputInOrder) {
    openFile(3000);
    EXPECT_EQ(status("mode"), "stopped");
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(pullSounding(3000), samples_);
}

TEST_F(PlaybackTest, ModeReadsPlayingUntilTheLastFrameHasBeenPlayed) {
    openFile(3000);
    ASSERT_EQ(send("play voice1"), kSuccess);
    pullSounding(2999);
    EXPECT_EQ(status("mode"), "playing");
    EXPECT_EQ(pullToEnd(), 2u); // the last frame, then the end of the stream
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(PlaybackTest, ALongFileIsReadWhileItPlays) {
    openFile(200000); // longer than the ring
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(pullSounding(200000), samples_);
    EXPECT_EQ(pullToEnd(), 0u);
    EXPECT_EQ(status("mode"), "stopped");
}

TEST_F(PlaybackTest, StopEndsAtOnceAndPlayResumes) {
    openFile(3000);
    ASSERT_EQ(send("play voice1"), kSuccess);
    const auto first = pullSounding(1000);
    ASSERT_EQ(send("stop voice1"), kSuccess);
    EXPECT_EQ(status("mode"), "stopped");
    EXPECT_TRUE(backend_->pullPlayback(256).empty());
    ASSERT_EQ(send("play voice1"), kSuccess);
    auto heard = first;
    const auto rest = pullSounding(2000);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(heard, samples_);
}

TEST_F(PlaybackTest, CloseEndsThePlaybackAndFreesTheAlias) {
    openFile(3000);
    ASSERT_EQ(send("play voice1"), kSuccess);
    ASSERT_EQ(send("close voice1"), kSuccess);
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_EQ(send("status voice1 mode"), kAliasNotOpen);
    EXPECT_EQ(send("open " + (scratch_ / "play me.wav").string() + " type waveaudio alias voice1"), kSuccess);
}

TEST_F(PlaybackTest, APathWithBlanksAndUnicodeOpens) {
    const auto path = scratch_ / "Aufnahme vom Mai – 音.wav";
    writeWav(path, rampFrames(441), 2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    EXPECT_EQ(send("open " + path.string() + " type waveaudio alias voice1"), kSuccess);
    EXPECT_EQ(status("length"), "10");
}

TEST_F(PlaybackTest, ATakeRecordedHerePlaysBack) {
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    ASSERT_EQ(send("record capture"), kSuccess);
    const auto frames = rampFrames(4410, 2, 100);
    deliver(frames);
    ASSERT_EQ(send("save capture " + (scratch_ / "take.wav").string()), kSuccess);
    ASSERT_EQ(send("close capture"), kSuccess);
    ASSERT_EQ(send("open " + (scratch_ / "take.wav").string() + " type waveaudio alias voice1"), kSuccess);
    EXPECT_EQ(status("length"), "100");
    ASSERT_EQ(send("play voice1"), kSuccess);
    EXPECT_EQ(pullSounding(4410), frames);
}

} // namespace
} // namespace murmora::mci::testing
