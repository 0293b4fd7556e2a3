// Drives the take engine over WASAPI for the tests under Wine:
//   engine_probe record SECONDS TARGET [TAKES]   records a take of SECONDS and saves it at TARGET;
//                                         prints the shortest and longest time the take can have
//                                         lasted, and why the disk refused frames, if it did
//   engine_probe record-from INPUT SECONDS TARGET   the same, from the input the backend lists
//                                         as INPUT
//   engine_probe until-lost SECONDS TARGET   records until the input is lost (at most SECONDS),
//                                         saying "recording" once it records and "lost" at once
//                                         when the loss is seen, then saves what it kept
//   engine_probe play FILE                plays FILE to its end; prints how long it played and how
//                                         the stream ended
//   engine_probe hold FOLDER              makes a take in FOLDER, prints its path and holds it
//                                         until its standard input ends
//   engine_probe encode FORMAT TAKE TARGET [cancel]   encodes the WAV take TAKE into TARGET as
//                                         flac, opus or mp3 and prints "encoded"; with "cancel",
//                                         cancels once a fifth is done and prints "cancelled"
//   engine_probe inputs                   lists the inputs as the engine's backend does: the name
//                                         it records them by (the endpoint's ID), a tab, the
//                                         description, and "<tab>default" for the default,
//                                         "<tab>output" for the sound of an output
//   engine_probe stalled FILE             records, says "recording", and once a line comes on its
//                                         standard input (the server has been stopped meanwhile)
//                                         times each call the panel would make: stop the take,
//                                         open FILE to play, open a new take, end the take
// Takes record in the folder TAKES, by default probe-takes beside the target. Exits 0 when the
// step worked.
#include "engine/backends/wasapi_backend.h"
#include "engine/capture_recorder.h"
#include "engine/file_player.h"
#include "engine/take_encoder.h"
#include "platform/wide/wide.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace {

using namespace murmora::audio;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

void say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

int fail(const std::string& what, std::error_code error = {}) {
    std::fprintf(stderr, "%s%s%s\n", what.c_str(), error ? ": " : "", error ? error.message().c_str() : "");
    return 1;
}

fs::path takeFolderBeside(const fs::path& target) { return target.parent_path() / L"probe-takes"; }

int record(AudioBackend& backend, double seconds, const fs::path& target, const fs::path& takes, bool untilLost,
           const std::string& inputName = {}) {
    auto opened = CaptureRecorder::open(backend, takes, {}, inputName);
    if (!opened) return fail("no take", opened.error());
    CaptureRecorder& recorder = **opened;
    const auto beforeRecord = Clock::now();
    if (const std::error_code error = recorder.record()) return fail("record", error);
    const auto afterRecord = Clock::now();
    say("recording");
    const auto end = afterRecord + std::chrono::duration<double>(seconds);
    while (Clock::now() < end && !(untilLost && recorder.lost()))
        std::this_thread::sleep_for(std::chrono::milliseconds(untilLost ? 5 : 50));
    if (recorder.lost()) say("lost");
    const auto beforeStop = Clock::now();
    const std::error_code stopped = recorder.stop();
    const auto afterStop = Clock::now();
    std::printf("held between %.3f and %.3f s; %lld frames, %lld lost, stop: %s, write: %s\n",
                secondsBetween(afterRecord, beforeStop), secondsBetween(beforeRecord, afterStop),
                static_cast<long long>(recorder.lengthFrames()), static_cast<long long>(recorder.framesLost()),
                stopped ? stopped.message().c_str() : "ok",
                recorder.writeError() ? recorder.writeError().message().c_str() : "ok");
    if (const std::error_code error = recorder.save(target)) return fail("save", error);
    say("saved");
    return untilLost && !recorder.lost() ? fail("the input was never lost") : 0;
}

int play(AudioBackend& backend, const fs::path& file) {
    auto opened = FilePlayer::open(backend, file);
    if (!opened) return fail("cannot play", opened.error());
    FilePlayer& player = **opened;
    const auto started = Clock::now();
    if (const std::error_code error = player.play()) return fail("play", error);
    while (player.playing() && Clock::now() - started < std::chrono::seconds(30))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::printf("played %.3f s of a %.3f s file; %s\n", secondsBetween(started, Clock::now()),
                static_cast<double>(player.frames()) / player.sampleRate(), player.lost() ? "lost" : "ended");
    return player.lost() ? 1 : 0;
}

// How long a call kept its caller, and what it answered.
template <typename Call>
void timeCall(const char* what, Call call) {
    const auto started = Clock::now();
    const std::error_code answer = call();
    std::printf("%s %.0f ms: %s\n", what, secondsBetween(started, Clock::now()) * 1000,
                answer ? answer.message().c_str() : "ok");
}

int stalled(AudioBackend& backend, const fs::path& file) {
    const fs::path takes = file.parent_path() / L"probe-takes";
    auto opened = CaptureRecorder::open(backend, takes, {});
    if (!opened) return fail("no take", opened.error());
    std::unique_ptr<CaptureRecorder> recorder = std::move(*opened);
    if (const std::error_code error = recorder->record()) return fail("record", error);
    say("recording");
    for (std::string line; line.empty() && std::getline(std::cin, line);) {}
    timeCall("stop", [&] { return recorder->stop(); });
    timeCall("play", [&] { return FilePlayer::open(backend, file).error(); });
    timeCall("record", [&] { return CaptureRecorder::open(backend, takes, {}).error(); });
    timeCall("close", [&] {
        recorder.reset();
        return std::error_code();
    });
    say("done");
    return 0;
}

int inputs(AudioBackend& backend) {
    const auto listed = backend.listInputs();
    if (!listed) return fail("no inputs", listed.error());
    for (const InputDevice& input : *listed)
        std::printf("%s\t%s%s%s\n", input.name.c_str(), input.description.c_str(), input.isDefault ? "\tdefault" : "",
                    input.outputSound ? "\toutput" : "");
    return 0;
}

int encode(const std::wstring& format, const fs::path& take, const fs::path& target, bool cancelEarly) {
    const std::optional<EncodedFormat> encoded = format == L"flac"   ? std::optional(EncodedFormat::flac)
                                                 : format == L"opus" ? std::optional(EncodedFormat::opus)
                                                 : format == L"mp3"  ? std::optional(EncodedFormat::mp3)
                                                                     : std::nullopt;
    if (!encoded) return fail("no such format");
    std::stop_source cancel;
    const std::error_code error = encodeTake(take, target, *encoded, cancel.get_token(), [&](double done) {
        if (cancelEarly && done >= 0.2) cancel.request_stop();
    });
    if (cancelEarly && error == std::errc::operation_canceled) {
        say("cancelled");
        return 0;
    }
    if (error) return fail("not encoded", error);
    say("encoded");
    return cancelEarly ? fail("the encoding ended before the cancel") : 0;
}

int hold(const fs::path& folder) {
    auto take = TakeFile::create(folder, {});
    if (!take) return fail("no take", take.error());
    say((*take)->path().string());
    for (std::string line; std::getline(std::cin, line);) {}
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY); // lines end in "\n" alone, for the scripts that read them
    const std::wstring step = argc > 1 ? argv[1] : L"";
    if (step == L"hold" && argc == 3) return hold(argv[2]);
    if (step == L"encode" && (argc == 5 || (argc == 6 && std::wstring(argv[5]) == L"cancel")))
        return encode(argv[2], argv[3], argv[4], argc == 6);
    const auto backend = makeWasapiBackend();
    if (step == L"inputs" && argc == 2) return inputs(*backend);
    if ((step == L"record" || step == L"until-lost") && (argc == 4 || argc == 5))
        return record(*backend, std::wcstod(argv[2], nullptr), argv[3],
                      argc == 5 ? fs::path(argv[4]) : takeFolderBeside(argv[3]), step == L"until-lost");
    if (step == L"record-from" && argc == 5)
        return record(*backend, std::wcstod(argv[3], nullptr), argv[4], takeFolderBeside(argv[4]), false,
                      murmora::fromWide(argv[2]));
    if (step == L"play" && argc == 3) return play(*backend, argv[2]);
    if (step == L"stalled" && argc == 3) return stalled(*backend, argv[2]);
    return fail("usage: engine_probe record|until-lost SECONDS TARGET [TAKES] | record-from INPUT SECONDS TARGET "
                "| play FILE | hold FOLDER | stalled FILE "
                "| inputs | encode FORMAT TAKE TARGET [cancel]");
}
