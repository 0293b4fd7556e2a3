// What "status" replies, and how a reply is written into the caller's buffer.
#include "mci_session.h"

#include <cstring>

namespace murmora::mci::testing {
namespace {

// One level window of silence but for one sample of `peak`.
std::vector<std::int16_t> peakWindow(std::int16_t peak) {
    std::vector<std::int16_t> samples(44100 * audio::CaptureRecorder::kLevelWindow.count() / 1000 * 2);
    samples[1] = peak;
    return samples;
}

TEST(Replies, StatusTellsTheModeTheLengthAndTheLevel) {
    const struct {
        const char* name;
        std::function<void(Session&)> before;
        const char* status;
        const char* reply;
    } cases[] = {
        {"a new take", [](Session& s) { s.run({"open new type waveaudio alias capture"}); }, "capture mode", "stopped"},
        {"recording", [](Session& s) { s.record(100); }, "capture mode", "recording"},
        {"paused",
         [](Session& s) {
             s.record(100);
             s.run({"pause capture"});
         },
         "capture mode", "paused"},
        {"resumed",
         [](Session& s) {
             s.record(100);
             s.run({"pause capture", "resume capture"});
         },
         "capture mode", "recording"},
        {"the input lost",
         [](Session& s) {
             s.record(100);
             s.backend->loseStreams();
         },
         "capture mode", "not ready"},
        {"the disk refused frames",
         [](Session& s) {
             const FullDisk full;
             s.record(40000);
             s.statusOnceItIs("capture mode", "stopped");
         },
         "capture mode", "stopped"},
        {"a take of 1 s",
         [](Session& s) {
             s.record(44100);
             s.run({"stop capture"});
         },
         "capture length", "1000"},
        {"1 s in bytes",
         [](Session& s) {
             s.record(44100);
             s.run({"stop capture", "set capture time format bytes"});
         },
         "capture length", "176400"},
        {"recorded again: appended",
         [](Session& s) {
             s.record(44100);
             s.run({"stop capture", "record capture"});
             deliver(*s.backend, rampFrames(22050));
             s.run({"stop capture"});
         },
         "capture length", "1500"},
        {"the largest peak, as a 16-bit device answers",
         [](Session& s) {
             s.run({"open new type waveaudio alias capture", "record capture"});
             deliver(*s.backend, peakWindow(-32768));
         },
         "capture level", "32767"},
        {"no level once stopped",
         [](Session& s) {
             s.run({"open new type waveaudio alias capture", "record capture"});
             deliver(*s.backend, peakWindow(16384));
             s.run({"stop capture"});
         },
         "capture level", "0"},
        {"a file opened", [](Session& s) { s.openFile(22050); }, "voice1 mode", "stopped"},
        {"a file playing",
         [](Session& s) {
             s.openFile(22050);
             s.run({"play voice1"});
         },
         "voice1 mode", "playing"},
        {"a file played to its end",
         [](Session& s) {
             s.openFile(441);
             s.run({"play voice1"});
             s.playToTheEnd();
         },
         "voice1 mode", "stopped"},
        {"the output lost",
         [](Session& s) {
             s.openFile(22050);
             s.run({"play voice1"});
             s.backend->loseStreams();
         },
         "voice1 mode", "not ready"},
        {"a file's length", [](Session& s) { s.openFile(22050); }, "voice1 length", "500"},
        {"a file's length in bytes",
         [](Session& s) {
             s.openFile(22050);
             s.run({"set voice1 time format bytes"});
         },
         "voice1 length", "88200"},
    };
    for (const auto& c : cases) {
        Session session;
        c.before(session);
        EXPECT_EQ(session.statusOnceItIs(c.status, c.reply), c.reply) << c.name;
    }
}

// "stop" ends the playback at once and "play" goes on from there.
TEST(Replies, APlaybackStoppedPlaysOnWhereItStopped) {
    Session session;
    session.openFile(3000);
    session.run({"play voice1"});
    auto heard = session.backend->pullPlayback(1000);
    session.run({"stop voice1"});
    EXPECT_EQ(session.statusOnceItIs("voice1 mode", "stopped"), "stopped");
    EXPECT_TRUE(session.backend->pullPlayback(256).empty());
    session.run({"play voice1"});
    EXPECT_EQ(session.statusOnceItIs("voice1 mode", "playing"), "playing");
    const auto rest = session.backend->pullPlayback(2000);
    heard.insert(heard.end(), rest.begin(), rest.end());
    EXPECT_EQ(heard, rampFrames(3000));
}

TEST(Replies, APlaybackDeviceHasNoLevel) {
    Session session;
    session.openFile(100);
    EXPECT_EQ(session.send("status voice1 level"), kUnsupportedFunction);
}

TEST(Replies, AReplyIsCutAtTheBufferLengthAndEndsAtANulWhereItFits) {
    Session session;
    session.run({"open new type waveaudio alias capture"});
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
        EXPECT_EQ(session.service.sendString("status capture mode", buffer, c.length), kSuccess);
        EXPECT_EQ(std::string(buffer, sizeof buffer), c.expected) << c.length;
    }
    EXPECT_EQ(session.service.sendString("status capture mode", nullptr, 0), kSuccess);
}

} // namespace
} // namespace murmora::mci::testing
