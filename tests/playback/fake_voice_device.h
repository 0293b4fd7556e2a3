#pragma once
// A playback device for the alias voice1 on top of FakeMci: it plays a take of a given
// length for a given number of mode queries, and answers as an MCI device would.
#include <string>

#include "tests/fakes/fake_platform.h"

namespace murmora::fakes {

constexpr int MciErrInvalidDeviceName = 263;  // no device open under that alias
constexpr int MciErrDuplicateAlias = 289;     // the alias is already open

class FakeVoiceDevice {
public:
    std::string lengthMs = "500";
    std::string lengthBytes = "1536";
    // How many mode queries after "play voice1" still find the take playing.
    int playingQueries = 3;
    // Reply to the mode query once the take has ended (or was stopped).
    std::string idleMode = "stopped";

    explicit FakeVoiceDevice(FakeMci& mci) {
        mci.respond = [this](const std::string& command, std::string& reply) { return Answer(command, reply); };
    }

    bool open = false;
    bool playing = false;

private:
    int Answer(const std::string& command, std::string& reply) {
        if (command.rfind("open ", 0) == 0) {
            if (open) return MciErrDuplicateAlias;
            open = true;
            return 0;
        }
        if (!open) return MciErrInvalidDeviceName;
        if (command == "set voice1 time format ms") timeFormatBytes_ = false;
        if (command == "set voice1 time format bytes") timeFormatBytes_ = true;
        if (command == "status voice1 length") reply = timeFormatBytes_ ? lengthBytes : lengthMs;
        if (command == "play voice1") {
            playing = true;
            left_ = playingQueries;
        }
        if (command == "status voice1 mode") reply = Mode();
        if (command == "stop voice1") playing = false;
        if (command == "close voice1") open = playing = false;
        return 0;
    }

    std::string Mode() {
        if (playing && left_ > 0) {
            --left_;
            return "playing";
        }
        playing = false;
        return idleMode;
    }

    bool timeFormatBytes_ = false;
    int left_ = 0;
};

} // namespace murmora::fakes
