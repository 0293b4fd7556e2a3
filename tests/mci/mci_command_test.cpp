// The command language: how a command text is taken apart.
#include "platform/mci/mci_command.h"

#include <gtest/gtest.h>

namespace murmora::mci {
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

} // namespace
} // namespace murmora::mci
