#pragma once
#include "platform/mci/mci_string_service.h"
#include "tests/support/take_samples.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace murmora::mci::testing {
using namespace murmora::testing;

// The service on a scripted backend, with takes and files in a scratch folder of its own.
struct Session {
    ScratchFolder scratch;
    fs::path takes = scratch / "takes";
    audio::ScriptedBackend* backend = new audio::ScriptedBackend;
    MciStringService service{std::unique_ptr<audio::AudioBackend>(backend), takes};
    std::string reply;

    // Sends `command` with "{scratch}" in it standing for the scratch folder; its result code.
    int send(std::string command) {
        for (std::size_t at; (at = command.find("{scratch}")) != std::string::npos;)
            command.replace(at, 9, scratch.path.string());
        char buffer[256] = "(untouched)";
        const int result = service.sendString(command, buffer, sizeof buffer);
        reply = buffer;
        return result;
    }
    // The reply to "status ALIAS ITEM", once it is `expected` or after a second.
    std::string statusOnceItIs(const std::string& aliasAndItem, const std::string& expected) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (send("status " + aliasAndItem) == kSuccess && reply != expected &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return reply;
    }
    // Runs each command, which must succeed.
    void run(std::initializer_list<const char*> commands) {
        for (const char* command : commands)
            ASSERT_EQ(send(command), kSuccess) << command;
    }
    // "open new" and "record": a take from frames that never sound silent.
    void record(std::size_t frames) {
        run({"open new type waveaudio alias capture", "record capture"});
        deliver(*backend, rampFrames(frames));
    }
    // "open" of a file of `frames` frames that never sound silent.
    void openFile(std::size_t frames) {
        writeWav(scratch / "a.wav", rampFrames(frames));
        run({"open {scratch}/a.wav type waveaudio alias voice1"});
    }
    // Pulls the playback to its end.
    void playToTheEnd() {
        for (int i = 0; i < 1000 && !backend->pullPlayback(4096).empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
};

} // namespace murmora::mci::testing
