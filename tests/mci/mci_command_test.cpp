// The command language and the result codes and replies of the service, whatever the devices do.
#include "mci_test_support.h"
#include "platform/mci/mci_command.h"

#include <cstring>
#include <fstream>

namespace murmora::mci::testing {
namespace {

TEST(ParseMciCommand, KeywordsAndAliasesInAnyCaseAndPathsAsWritten) {
    const struct {
        const char* text;
        const char* verb;
        const char* alias;
        const char* path;
        bool newTake;
    } cases[] = {
        {"OPEN New TYPE WaveAudio Alias Capture", "open", "capture", "", true},
        {"open /home/a b/my  take.wav type waveaudio alias voice1", "open", "voice1", "/home/a b/my  take.wav", false},
        {"open /x/ type waveaudio alias y/z.wav type waveaudio alias voice1", "open", "voice1",
         "/x/ type waveaudio alias y/z.wav", false},
        {"open \"/tmp/with blank.wav\" type waveaudio alias voice1", "open", "voice1", "/tmp/with blank.wav", false},
        {"open \"new\" type waveaudio alias voice1", "open", "voice1", "new", false},
        {"open /tmp/Über – 音.wav type waveaudio alias voice1", "open", "voice1", "/tmp/Über – 音.wav", false},
        {"  open \"/tmp/a.wav\"    type  waveaudio   alias   voice1  ", "open", "voice1", "/tmp/a.wav", false},
        {"open  /tmp/a.wav   type waveaudio alias voice1", "open", "voice1", " /tmp/a.wav  ", false},
        {"open \" /tmp/a \"b\" .wav \" type waveaudio alias voice1", "open", "voice1", " /tmp/a \"b\" .wav ", false},
        {"save capture /home/me/Music/take one.wav", "save", "capture", "/home/me/Music/take one.wav", false},
        {"save capture important.wav ", "save", "capture", "important.wav ", false},
        {"save capture   two  blanks.wav", "save", "capture", "  two  blanks.wav", false},
        {"SAVE   Capture    \"/tmp/x y.wav \"   ", "save", "capture", "/tmp/x y.wav ", false},
        {"save capture \"\"", "save", "capture", "", false},
        {"save capture   ", "save", "capture", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto command = parseMciCommand(c.text);
        ASSERT_TRUE(command);
        EXPECT_EQ(command->verb, c.verb);
        EXPECT_EQ(command->alias, c.alias);
        EXPECT_EQ(command->path, c.path);
        EXPECT_EQ(command->newTake, c.newTake);
    }
    const auto set = parseMciCommand("Set VOICE1 Time Format MS");
    ASSERT_TRUE(set);
    EXPECT_EQ(set->alias, "voice1");
    EXPECT_EQ(set->words, (std::vector<std::string>{"time", "format", "ms"}));
}

using CodesTest = ServiceTest;

TEST_F(CodesTest, UnknownCommandsAreRefusedWithAnEmptyReply) {
    for (const char* text :
         {"", "   ", "hello", "record", "rewind capture", "recordcapture", "open new", "open new type waveaudio",
          "open /tmp/a.wav", "open type waveaudio alias voice1", "open /tmp/a.wav type sequencer alias voice1"}) {
        EXPECT_EQ(send(text), kUnrecognisedCommand) << text;
        EXPECT_EQ(reply_, "") << text;
    }
}

TEST_F(CodesTest, CommandsForAnAliasNotOpenFailWithoutEffect) {
    for (const char* text : {"record capture", "stop capture", "close capture", "play voice1", "stop voice1",
                             "close voice1", "status voice1 mode", "status voice1 length", "set voice1 time format ms"})
        EXPECT_EQ(send(text), kAliasNotOpen) << text;
    EXPECT_EQ(send("save capture " + (scratch_ / "x.wav").string()), kAliasNotOpen);
    EXPECT_FALSE(fs::exists(scratch_ / "x.wav"));
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_TRUE(takeFiles().empty());
}

TEST_F(CodesTest, AliasesMatchInAnyCaseAndADuplicateIsRefused) {
    ASSERT_EQ(send("open new type waveaudio alias Capture"), kSuccess);
    ASSERT_EQ(send("RECORD capture"), kSuccess);
    EXPECT_EQ(send("open new type waveaudio alias CAPTURE"), kAliasInUse);
    EXPECT_EQ(takeFiles().size(), 1u);
    EXPECT_EQ(status("CAPTURE MODE"), "recording");
    EXPECT_EQ(send("Close capture"), kSuccess);
    EXPECT_EQ(send("close CAPTURE"), kAliasNotOpen);
}

TEST_F(CodesTest, MissingAndUnreadableFilesAreRefused) {
    EXPECT_EQ(openFile(scratch_ / "absent.wav"), kFileNotFound);
    EXPECT_EQ(openFile(scratch_.path), kFileNotFound);
    std::ofstream(scratch_ / "notes.wav") << "these are not samples\n";
    EXPECT_EQ(openFile(scratch_ / "notes.wav"), kNotReadableWav);
    writeWav(scratch_ / "take.flac", rampFrames(100), SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(openFile(scratch_ / "take.flac"), kNotReadableWav);
    // A damaged header claiming a sample rate near 2 GHz: refused, not believed.
    writeWav(scratch_ / "damaged.wav", rampFrames(100));
    std::fstream(scratch_ / "damaged.wav", std::ios::in | std::ios::out | std::ios::binary)
        .seekp(24)
        .write("\x00\x00\x00\x70", 4);
    EXPECT_EQ(openFile(scratch_ / "damaged.wav"), kNotReadableWav);
    EXPECT_EQ(send("play voice1"), kAliasNotOpen);
    EXPECT_EQ(backend_->openStreamCount(), 0);
}

TEST_F(CodesTest, WordsADeviceDoesNotTakeAreRefusedWithoutEffect) {
    writeWav(scratch_ / "a.wav", rampFrames(100));
    ASSERT_EQ(openFile(scratch_ / "a.wav"), kSuccess);
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    EXPECT_EQ(send("record voice1"), kUnsupportedFunction);
    EXPECT_EQ(send("save voice1 /tmp/x.wav"), kUnsupportedFunction);
    EXPECT_EQ(send("play capture"), kUnsupportedFunction);
    EXPECT_EQ(send("set capture time format frames"), kBadTimeFormat);
    EXPECT_EQ(send("set capture speed 2"), kUnrecognisedKeyword);
    EXPECT_EQ(send("status capture volume"), kUnrecognisedKeyword);
    EXPECT_EQ(send("record capture now"), kUnrecognisedKeyword);
    EXPECT_EQ(send("save capture   "), kFileNameRequired);
    EXPECT_EQ(status("capture mode"), "stopped");
    EXPECT_EQ(takeFiles().size(), 1u);
}

TEST_F(CodesTest, WithoutADeviceOpenRecordAndPlayFailAtOnceAndLaterOpensTryAgain) {
    backend_->setDeviceAvailable(false);
    EXPECT_EQ(send("open new type waveaudio alias capture"), kNoAudioDevice);
    EXPECT_EQ(send("record capture"), kAliasNotOpen);
    EXPECT_TRUE(takeFiles().empty());
    backend_->setDeviceAvailable(true);
    writeWav(scratch_ / "a.wav", rampFrames(100));
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    ASSERT_EQ(openFile(scratch_ / "a.wav"), kSuccess);
    backend_->setDeviceAvailable(false); // gone after the open
    EXPECT_EQ(send("record capture"), kNoAudioDevice);
    EXPECT_EQ(send("play voice1"), kNoAudioDevice);
    EXPECT_EQ(status("capture mode"), "stopped");
    EXPECT_EQ(status("voice1 mode"), "stopped");
    backend_->setDeviceAvailable(true);
    EXPECT_EQ(send("record capture"), kSuccess);
}

TEST_F(CodesTest, TheReplyIsCutAtTheBufferLengthAndEndsAtANulWhereItFits) {
    ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess);
    const struct {
        std::size_t length;
        std::string expected;
    } cases[] = {{12, std::string("stopped\0####", 12)},
                 {8, std::string("stopped\0####", 12)},
                 {7, "stopped#####"},
                 {4, "stop########"},
                 {0, "############"}};
    for (const auto& c : cases) {
        char buffer[12];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(service_.sendString("status capture mode", buffer, c.length), kSuccess);
        EXPECT_EQ(std::string(buffer, sizeof buffer), c.expected) << c.length;
    }
    EXPECT_EQ(service_.sendString("status capture mode", nullptr, 0), kSuccess);
}

} // namespace
} // namespace murmora::mci::testing
