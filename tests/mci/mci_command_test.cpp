#include "platform/mci/mci_command.h"

#include <gtest/gtest.h>

namespace murmora::mci {
namespace {

using Words = std::vector<std::string>;

TEST(OpenCommand, NewTakeIsRecognisedInAnyCase) {
    const auto command = parseMciCommand("OPEN New TYPE WaveAudio Alias Capture");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->verb, "open");
    EXPECT_TRUE(command->newTake);
    EXPECT_EQ(command->alias, "capture");
}

TEST(OpenCommand, PathKeepsItsBlanks) {
    const auto command = parseMciCommand("open /home/a b/my  take.wav type waveaudio alias voice1");
    ASSERT_TRUE(command);
    EXPECT_FALSE(command->newTake);
    EXPECT_EQ(command->path, "/home/a b/my  take.wav");
    EXPECT_EQ(command->alias, "voice1");
}

TEST(OpenCommand, PathEndsAtTheLastTypeClause) {
    const auto command = parseMciCommand("open /x/ type waveaudio alias y/z.wav type waveaudio alias voice1");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->path, "/x/ type waveaudio alias y/z.wav");
    EXPECT_EQ(command->alias, "voice1");
}

TEST(OpenCommand, QuotedPathLosesItsQuotes) {
    const auto command = parseMciCommand("open \"/tmp/with blank.wav\" type waveaudio alias voice1");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->path, "/tmp/with blank.wav");
}

TEST(OpenCommand, QuotedNewIsAFileNamedNew) {
    const auto command = parseMciCommand("open \"new\" type waveaudio alias voice1");
    ASSERT_TRUE(command);
    EXPECT_FALSE(command->newTake);
    EXPECT_EQ(command->path, "new");
}

TEST(OpenCommand, UnicodePathIsKeptByteForByte) {
    const auto command = parseMciCommand("open /tmp/Überspielung – 音.wav type waveaudio alias voice1");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->path, "/tmp/Überspielung – 音.wav");
}

TEST(OpenCommand, SurplusBlanksAreTolerated) {
    const auto command = parseMciCommand("  open   /tmp/a.wav    type  waveaudio   alias   voice1  ");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->path, "/tmp/a.wav");
    EXPECT_EQ(command->alias, "voice1");
}

TEST(OpenCommand, WithoutTypeAndAliasIsNotACommand) {
    EXPECT_FALSE(parseMciCommand("open /tmp/a.wav"));
    EXPECT_FALSE(parseMciCommand("open /tmp/a.wav type waveaudio"));
    EXPECT_FALSE(parseMciCommand("open type waveaudio alias voice1"));
    EXPECT_FALSE(parseMciCommand("open /tmp/a.wav type sequencer alias voice1"));
}

TEST(SaveCommand, PathIsEverythingAfterTheAlias) {
    const auto command = parseMciCommand("save capture /home/me/Music/take one.wav");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->verb, "save");
    EXPECT_EQ(command->alias, "capture");
    EXPECT_EQ(command->path, "/home/me/Music/take one.wav");
}

TEST(SaveCommand, SurplusBlanksAndQuotesAreDropped) {
    const auto command = parseMciCommand("SAVE   Capture    \"/tmp/x y.wav\"   ");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->alias, "capture");
    EXPECT_EQ(command->path, "/tmp/x y.wav");
}

TEST(SaveCommand, WithoutPathHasAnEmptyPath) {
    const auto command = parseMciCommand("save capture");
    ASSERT_TRUE(command);
    EXPECT_TRUE(command->path.empty());
}

TEST(OtherCommands, KeywordsAndAliasAreLowerCased) {
    const auto command = parseMciCommand("Set VOICE1 Time Format MS");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->verb, "set");
    EXPECT_EQ(command->alias, "voice1");
    EXPECT_EQ(command->words, (Words{"time", "format", "ms"}));
}

TEST(OtherCommands, EveryVerbOfTheProgramIsKnown) {
    for (const char* text : {"record capture", "stop capture", "close capture", "play voice1", "stop voice1",
                             "close voice1", "status voice1 length", "status voice1 mode"})
        EXPECT_TRUE(parseMciCommand(text)) << text;
}

TEST(OtherCommands, UnknownVerbsAndBareVerbsAreNotCommands) {
    EXPECT_FALSE(parseMciCommand(""));
    EXPECT_FALSE(parseMciCommand("   "));
    EXPECT_FALSE(parseMciCommand("record"));
    EXPECT_FALSE(parseMciCommand("rewind capture"));
    EXPECT_FALSE(parseMciCommand("recordcapture"));
}

} // namespace
} // namespace murmora::mci
