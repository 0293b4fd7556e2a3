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
    int playingQueries = 3;             // mode queries after "play voice1" that still find it playing
    std::string idleMode = "stopped";   // the mode once the take has ended or was stopped
    bool open = false;

    explicit FakeVoiceDevice(FakeMci& mci) {
        mci.respond = [this](const std::string& command, std::string& reply) { return Answer(command, reply); };
    }

private:
    int Answer(const std::string& command, std::string& reply) {
        if (command.rfind("open ", 0) == 0) return open ? MciErrDuplicateAlias : (open = true, 0);
        if (!open) return MciErrInvalidDeviceName;
        if (command == "set voice1 time format ms") bytes_ = false;
        if (command == "set voice1 time format bytes") bytes_ = true;
        if (command == "status voice1 length") reply = bytes_ ? lengthBytes : lengthMs;
        if (command == "play voice1") left_ = playingQueries;
        if (command == "status voice1 mode") reply = left_ > 0 ? (--left_, "playing") : idleMode;
        if (command == "stop voice1") left_ = 0;
        if (command == "close voice1") open = false, left_ = 0;
        return 0;
    }

    bool bytes_ = false;
    int left_ = 0;
};

} // namespace murmora::fakes
