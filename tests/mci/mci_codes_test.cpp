// Result codes and replies of the service, whatever the devices do.
#include "mci_test_support.h"
#include "platform/mci/mci_errors.h"

#include <sndfile.h>

#include <cstring>
#include <fstream>

namespace murmora::mci::testing {
namespace {

using CodesTest = ServiceTest;

TEST_F(CodesTest, UnknownCommandsAreRefusedWithAnEmptyReply) {
    for (const char* text : {"", "hello", "rewind capture", "open new", "open new type waveaudio", "record"}) {
        EXPECT_EQ(send(text), kUnrecognisedCommand) << text;
        EXPECT_EQ(reply_, "") << text;
    }
}

TEST_F(CodesTest, CommandsForAnAliasNotOpenFailWithoutEffect) {
    for (const char* text : {"record capture", "stop capture", "save capture /tmp/x.wav", "close capture",
                             "play voice1", "stop voice1", "close voice1", "status voice1 mode",
                             "status voice1 length", "set voice1 time format ms"})
        EXPECT_EQ(send(text), kAliasNotOpen) << text;
    EXPECT_EQ(send("save capture " + (scratch_ / "x.wav").string()), kAliasNotOpen);
    EXPECT_FALSE(std::filesystem::exists(scratch_ / "x.wav"));
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_TRUE(takeFiles().empty());
}

TEST_F(CodesTest, AliasesMatchWithoutRegardToCase) {
    ASSERT_EQ(send("open new type waveaudio alias Capture"), kSuccess);
    EXPECT_EQ(send("STATUS CAPTURE MODE"), kSuccess);
    EXPECT_EQ(reply_, "stopped");
    EXPECT_EQ(send("Close capture"), kSuccess);
    EXPECT_EQ(send("close CAPTURE"), kAliasNotOpen);
}

TEST_F(CodesTest, ADuplicateAliasIsRefusedAndTheFirstDeviceStays) {
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    ASSERT_EQ(send("record capture"), kSuccess);
    EXPECT_EQ(send("open new type waveaudio alias CAPTURE"), kAliasInUse);
    EXPECT_EQ(takeFiles().size(), 1u);
    EXPECT_EQ(send("status capture mode"), kSuccess);
    EXPECT_EQ(reply_, "recording");
}

TEST_F(CodesTest, AMissingFileIsNotFound) {
    EXPECT_EQ(send("open " + (scratch_ / "absent.wav").string() + " type waveaudio alias voice1"), kFileNotFound);
    EXPECT_EQ(send("open " + scratch_.path().string() + " type waveaudio alias voice1"), kFileNotFound);
    EXPECT_EQ(send("status voice1 mode"), kAliasNotOpen);
}

TEST_F(CodesTest, AFileThatIsNoWavIsRefused) {
    std::ofstream(scratch_ / "notes.wav") << "these are not samples\n";
    writeWav(scratch_ / "take.flac", rampFrames(100), 2, 44100, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(send("open " + (scratch_ / "notes.wav").string() + " type waveaudio alias voice1"), kNotReadableWav);
    EXPECT_EQ(send("open " + (scratch_ / "take.flac").string() + " type waveaudio alias voice1"), kNotReadableWav);
    // A damaged header claiming a sample rate near 2 GHz: refused, not believed.
    writeWav(scratch_ / "damaged.wav", rampFrames(100), 2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    {
        std::fstream damaged(scratch_ / "damaged.wav", std::ios::in | std::ios::out | std::ios::binary);
        damaged.seekp(24); // the sample rate in the "fmt " chunk
        damaged.write("\x00\x00\x00\x70", 4);
    }
    EXPECT_EQ(send("open " + (scratch_ / "damaged.wav").string() + " type waveaudio alias voice1"), kNotReadableWav);
    EXPECT_EQ(send("play voice1"), kAliasNotOpen);
    EXPECT_EQ(backend_->openStreamCount(), 0);
}

TEST_F(CodesTest, VerbsADeviceDoesNotHaveAreUnsupported) {
    writeWav(scratch_ / "a.wav", rampFrames(100), 2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(send("open " + (scratch_ / "a.wav").string() + " type waveaudio alias voice1"), kSuccess);
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("record voice1"), kUnsupportedFunction);
    EXPECT_EQ(send("save voice1 /tmp/x.wav"), kUnsupportedFunction);
    EXPECT_EQ(send("play capture"), kUnsupportedFunction);
}

TEST_F(CodesTest, UnknownKeywordsAndTimeFormatsAreRefused) {
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("set capture time format frames"), kBadTimeFormat);
    EXPECT_EQ(send("set capture speed 2"), kUnrecognisedKeyword);
    EXPECT_EQ(send("status capture volume"), kUnrecognisedKeyword);
    EXPECT_EQ(send("record capture now"), kUnrecognisedKeyword);
    EXPECT_EQ(send("status capture mode"), kSuccess);
    EXPECT_EQ(reply_, "stopped");
}

TEST_F(CodesTest, SaveWithoutPathAsksForAFileName) {
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("save capture   "), kFileNameRequired);
    EXPECT_EQ(takeFiles().size(), 1u);
}

TEST_F(CodesTest, WithoutADeviceOpenFailsAtOnceAndLaterOpensTryAgain) {
    backend_->setDeviceAvailable(false);
    EXPECT_EQ(send("open new type waveaudio alias capture"), kNoAudioDevice);
    EXPECT_EQ(send("record capture"), kAliasNotOpen);
    EXPECT_TRUE(takeFiles().empty());
    backend_->setDeviceAvailable(true);
    EXPECT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("record capture"), kSuccess);
}

TEST_F(CodesTest, ADeviceThatWillNotStartFailsRecordAndPlay) {
    writeWav(scratch_ / "a.wav", rampFrames(100), 2, 44100, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    ASSERT_EQ(send("open " + (scratch_ / "a.wav").string() + " type waveaudio alias voice1"), kSuccess);
    backend_->setDeviceAvailable(false);
    EXPECT_EQ(send("record capture"), kNoAudioDevice);
    EXPECT_EQ(send("play voice1"), kNoAudioDevice);
    EXPECT_EQ(send("status capture mode"), kSuccess);
    EXPECT_EQ(reply_, "stopped");
    EXPECT_EQ(send("status voice1 mode"), kSuccess);
    EXPECT_EQ(reply_, "stopped");
}

class ReplyBufferTest : public ServiceTest {
protected:
    void SetUp() override { ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess); }
    std::string query(std::size_t length) {
        std::memset(buffer_, '#', sizeof buffer_);
        EXPECT_EQ(service_.SendString("status capture mode", buffer_, length), kSuccess);
        return std::string(buffer_, sizeof buffer_);
    }
    char buffer_[12];
};

TEST_F(ReplyBufferTest, AReplyThatFitsEndsWithANul) {
    EXPECT_EQ(query(12), std::string("stopped\0####", 12));
    EXPECT_EQ(query(8), std::string("stopped\0####", 12));
}

TEST_F(ReplyBufferTest, AReplyThatDoesNotFitIsCutAtTheLength) {
    EXPECT_EQ(query(7), "stopped#####");
    EXPECT_EQ(query(4), "stop########");
    EXPECT_EQ(query(0), "############");
}

TEST_F(ReplyBufferTest, NoBufferIsFine) { EXPECT_EQ(service_.SendString("status capture mode", nullptr, 0), kSuccess); }

} // namespace
} // namespace murmora::mci::testing
