// The result codes of the command language and the words for them: each code of the README's
// table, reached once.
#include "mci_session.h"

#include <fstream>

namespace murmora::mci::testing {
namespace {

TEST(ResultCodes, EachIsGivenWhereTheTableSaysWithTheWordsForIt) {
    const struct {
        int code;
        std::function<void(Session&)> before;
        const char* command;
        const char* words; // "{takes}" stands for the take folder
    } cases[] = {
        {kSuccess, {}, "open new type waveaudio alias capture", "The command was carried out"},
        {kUnrecognisedKeyword, [](Session& s) { s.run({"open new type waveaudio alias capture"}); },
         "status capture volume", "The command holds a word the device does not take"},
        {kUnrecognisedCommand, {}, "rewind capture", "The command is not known"},
        {kAliasNotOpen, {}, "record capture", "The device is not open"},
        {kUnsupportedFunction, [](Session& s) { s.run({"open new type waveaudio alias capture"}); }, "play capture",
         "The device cannot do that"},
        {kUnsupportedFunction, [](Session& s) { s.openFile(22050); }, "pause voice1", "The device cannot do that"},
        {kFileNotFound,
         {},
         "open {scratch}/absent.wav type waveaudio alias voice1",
         "The file was not found (No such file or directory)"},
        {kDeviceNotReady,
         [](Session& s) {
             s.record(100);
             s.run({"save capture {scratch}/saved.wav"});
         },
         "record capture", "The device is not ready"},
        {kDeviceNotReady,
         [](Session& s) {
             s.record(100);
             s.run({"save capture {scratch}/saved.wav"});
         },
         "resume capture", "The device is not ready"},
        {kFileNotSaved, [](Session& s) { s.record(100); }, "save capture {scratch}/no such folder/a.wav",
         "The file could not be saved (No such file or directory)"},
        {kAliasInUse, [](Session& s) { s.run({"open new type waveaudio alias capture"}); },
         "open new type waveaudio alias CAPTURE", "The device is already open"},
        {kBadTimeFormat, [](Session& s) { s.run({"open new type waveaudio alias capture"}); },
         "set capture time format frames", "The time format is not known"},
        {kNotReadableWav, [](Session& s) { std::ofstream(s.scratch / "notes.wav") << "not samples\n"; },
         "open {scratch}/notes.wav type waveaudio alias voice1", "The file is no WAV file that can be read"},
        {kFileNameRequired, [](Session& s) { s.run({"open new type waveaudio alias capture"}); }, "save capture   ",
         "A file name is needed"},
        {kNoAudioDevice, [](Session& s) { s.backend->setDeviceAvailable(false); },
         "open new type waveaudio alias capture", "The sound input could not be opened"},
        {kTakeFileFailed,
         [](Session& s) {
             fs::create_directory(s.scratch / "elsewhere");
             fs::create_symlink(s.scratch / "elsewhere", s.takes);
         },
         "open new type waveaudio alias capture",
         "The file for the recording could not be created in {takes} (the folder is a link to another place)"},
        {kServerNotAnswering, [](Session& s) { s.backend->setAnswering(false); },
         "open new type waveaudio alias capture", "The sound server does not answer"},
        {kDeviceLost,
         [](Session& s) {
             s.record(100);
             s.backend->loseStreams();
         },
         "stop capture", "The sound device went away"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        Session session;
        if (c.before) c.before(session);
        EXPECT_EQ(session.send(c.command), c.code);
        std::string words = c.words;
        if (const auto at = words.find("{takes}"); at != std::string::npos)
            words.replace(at, 7, session.takes.string());
        EXPECT_EQ(session.service.getErrorString(c.code), words);
    }
}

TEST(ResultCodes, AnUnknownCommandGetsAnEmptyReply) {
    Session session;
    for (const char* text :
         {"", "   ", "hello", "record", "rewind capture", "recordcapture", "open new", "open new type waveaudio",
          "open /tmp/a.wav", "open type waveaudio alias voice1", "open /tmp/a.wav type sequencer alias voice1"}) {
        EXPECT_EQ(session.send(text), kUnrecognisedCommand) << text;
        EXPECT_EQ(session.reply, "") << text;
    }
}

TEST(ResultCodes, ACommandForAnAliasNotOpenHasNoEffect) {
    Session session;
    for (const char* text :
         {"record capture", "pause capture", "resume capture", "stop capture", "close capture", "play voice1", "stop voice1", "close voice1",
          "status voice1 mode", "set voice1 time format ms", "save capture {scratch}/x.wav"})
        EXPECT_EQ(session.send(text), kAliasNotOpen) << text;
    EXPECT_FALSE(fs::exists(session.scratch / "x.wav"));
    EXPECT_EQ(session.backend->openStreamCount(), 0);
    EXPECT_TRUE(filesIn(session.takes).empty());
}

TEST(ResultCodes, AFailedCommandLeavesTheDeviceAsItWas) {
    Session session;
    session.run({"open new type waveaudio alias capture"});
    for (const char* text : {"record capture now", "set capture speed 2", "set capture time format frames",
                             "save capture   ", "play capture", "open new type waveaudio alias capture"})
        EXPECT_NE(session.send(text), kSuccess) << text;
    EXPECT_EQ(session.statusOnceItIs("capture mode", "stopped"), "stopped");
    EXPECT_EQ(filesIn(session.takes).size(), 1u);
}

// Unlike the panel's engine, which keeps such a take for the next start.
TEST(ResultCodes, ACloseOrTheEndOfTheServiceDiscardsAnUnsavedTake) {
    Session session;
    session.record(4410);
    session.run({"close capture"});
    EXPECT_TRUE(filesIn(session.takes).empty());
    EXPECT_EQ(session.backend->openStreamCount(), 0);
    {
        auto* backend = new audio::ScriptedBackend;
        MciStringService ending(std::unique_ptr<audio::AudioBackend>(backend), session.takes);
        ASSERT_EQ(ending.sendString("open new type waveaudio alias capture", nullptr, 0), kSuccess);
        ASSERT_EQ(ending.sendString("record capture", nullptr, 0), kSuccess);
        deliver(*backend, rampFrames(4410));
    }
    EXPECT_TRUE(filesIn(session.takes).empty());
}

// A saved take stays open under its alias: it saves again, elsewhere, but records no more.
TEST(ResultCodes, ASavedTakeSavesAgainElsewhere) {
    Session session;
    session.record(4410);
    session.run({"save capture {scratch}/first.wav", "save capture {scratch}/second.wav", "close capture"});
    EXPECT_EQ(readWav(session.scratch / "second.wav"), readWav(session.scratch / "first.wav"));
    EXPECT_EQ(readWav(session.scratch / "first.wav"), rampFrames(4410));
}

} // namespace
} // namespace murmora::mci::testing
