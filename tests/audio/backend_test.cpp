// Both backends against the test run's sound server (PulseAudio or PipeWire): PortAudio reaches
// it through ALSA's pulse plugin. MURMORA_TEST_SERVER_PIDS names the server's processes, for
// the tests that stop it.
#include "engine/backends/portaudio_backend.h"
#include "engine/backends/pulse_backend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <vector>

namespace murmora::audio {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct CountingSink final : CaptureSink {
    std::atomic<std::size_t> frames{0};
    void onCaptured(const std::int16_t*, std::size_t count, bool) noexcept override { frames += count; }
};

// A sounding source of a given number of frames; counts how often it was told its stream ended.
struct ToneSource final : PlaybackSource {
    std::size_t left;
    int channels;
    std::atomic<int> endsTold{0};
    ToneSource(std::size_t frames, int channelCount) : left(frames), channels(channelCount) {}
    std::size_t onPlayback(std::int16_t* samples, std::size_t frames, bool& last) noexcept override {
        const std::size_t count = std::min(frames, left);
        std::fill(samples, samples + count * static_cast<std::size_t>(channels), std::int16_t{8000});
        left -= count;
        last = left == 0;
        return count;
    }
    void onStreamEnded(StreamState state) noexcept override {
        if (state == StreamState::ended) ++endsTold;
    }
};

// The streams this process holds on the server, as the server lists them.
int streamsOnTheServer() {
    const std::string mine = "application.process.id = \"" + std::to_string(::getpid()) + "\"";
    int count = 0;
    for (const char* command : {"pactl list source-outputs", "pactl list sink-inputs"}) {
        FILE* listing = ::popen(command, "r");
        if (!listing) continue;
        for (char line[512]; std::fgets(line, sizeof line, listing);)
            count += std::strstr(line, mine.c_str()) != nullptr;
        ::pclose(listing);
    }
    return count;
}

// Stops the server's processes for the scope, and lets them go on after.
class PausedServer {
public:
    PausedServer() {
        std::istringstream pids(std::getenv("MURMORA_TEST_SERVER_PIDS") ? std::getenv("MURMORA_TEST_SERVER_PIDS") : "");
        for (pid_t pid = 0; pids >> pid;)
            pids_.push_back(pid);
        for (pid_t pid : pids_)
            ::kill(pid, SIGSTOP);
    }
    ~PausedServer() {
        for (pid_t pid : pids_)
            ::kill(pid, SIGCONT);
    }
    bool any() const { return !pids_.empty(); }

private:
    std::vector<pid_t> pids_;
};

// PortAudio lists every device when it starts, at the first open after none was open: on a
// loaded machine that may outlast its deadline, and the open after it finds it started.
template <typename Open>
auto openOnceStarted(Open open) {
    auto opened = open();
    for (const auto deadline = Clock::now() + 5s;
         !opened && opened.error() == AudioError::notAnswering && Clock::now() < deadline;)
        opened = open();
    return opened;
}

template <typename Backend>
class BackendTest : public ::testing::Test {
protected:
    std::unique_ptr<AudioBackend> backend_ = Backend::make();
};

struct Pulse {
    static std::unique_ptr<AudioBackend> make() { return makePulseBackend(); }
};
struct PortAudio {
    static std::unique_ptr<AudioBackend> make() { return makePortAudioBackend(); }
};
using Backends = ::testing::Types<Pulse, PortAudio>;
TYPED_TEST_SUITE(BackendTest, Backends);

TYPED_TEST(BackendTest, CaptureDeliversTheRateUntilStoppedAndNothingAfter) {
    CountingSink sink;
    auto opened = openOnceStarted([&] { return this->backend_->openCapture({}, sink); });
    ASSERT_TRUE(opened) << opened.error().message();
    auto& stream = *opened;
    ASSERT_EQ(stream->start(), std::error_code());
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(stream->stop(), std::error_code());
    const std::size_t frames = sink.frames;
    EXPECT_GT(frames, 44100u * 3 / 2); // a fresh stream may take a while for its first frames
    EXPECT_LT(frames, 44100u * 5 / 2);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(sink.frames, frames);
    EXPECT_EQ(stream->state(), StreamState::stopped);
}

// The end is told to the source, which is how the engine learns of it.
TYPED_TEST(BackendTest, PlaybackAtEveryCommonRateRunsToItsEndThenEndsAndTellsTheSource) {
    for (const int rate : {8000, 11025, 44100, 96000}) {
        ToneSource source(static_cast<std::size_t>(rate) * 3 / 4, 2);
        auto opened = openOnceStarted([&] { return this->backend_->openPlayback({rate, 2}, source); });
        ASSERT_TRUE(opened) << rate << ": " << opened.error().message();
        auto& stream = *opened;
        const auto started = Clock::now();
        ASSERT_EQ(stream->start(), std::error_code()) << rate;
        while (source.endsTold == 0 && Clock::now() - started < 5s)
            std::this_thread::sleep_for(10ms);
        EXPECT_GE(Clock::now() - started, 700ms) << rate << " Hz ended before its 0.75 s were played";
        std::this_thread::sleep_for(100ms);
        EXPECT_EQ(source.endsTold, 1) << rate << " Hz: the source is told its end once";
        EXPECT_EQ(stream->state(), StreamState::ended) << rate;
    }
}

TYPED_TEST(BackendTest, AStoppedServerMakesEveryCallGiveUpInTimeAndTheNextCallsWorkOnceItGoesOn) {
    CountingSink sink;
    auto opened = openOnceStarted([&] { return this->backend_->openCapture({}, sink); });
    ASSERT_TRUE(opened) << opened.error().message();
    auto running = std::move(*opened);
    ASSERT_EQ(running->start(), std::error_code());
    {
        PausedServer paused;
        if (!paused.any()) GTEST_SKIP() << "MURMORA_TEST_SERVER_PIDS names no server";
        std::this_thread::sleep_for(200ms);
        ToneSource source(1000, 2);
        const auto before = Clock::now();
        EXPECT_EQ(running->stop(), AudioError::notAnswering);
        EXPECT_EQ(this->backend_->openPlayback({}, source).error(), AudioError::notAnswering);
        running.reset();
        // Each call waits its deadline at most; a second more is the machine's slack, not a hang.
        EXPECT_LT(Clock::now() - before, 2 * kDeviceDeadline + 1s);
    }
    std::this_thread::sleep_for(300ms);
    auto next = openOnceStarted([&] { return this->backend_->openCapture({}, sink); });
    ASSERT_TRUE(next) << next.error().message();
    EXPECT_EQ((*next)->start(), std::error_code());
}

// Streams opened while the server was stopped, and given up on at the deadline, would stay on it
// corked for as long as the program runs.
TYPED_TEST(BackendTest, StreamsGivenUpOnWhileTheServerWasStoppedAreGoneOnceItGoesOn) {
    CountingSink sink;
    ToneSource source(1000, 2);
    ASSERT_TRUE(openOnceStarted([&] { return this->backend_->openCapture({}, sink); }))
        << "the server is reached before it stops";
    {
        PausedServer paused;
        if (!paused.any()) GTEST_SKIP() << "MURMORA_TEST_SERVER_PIDS names no server";
        EXPECT_EQ(this->backend_->openCapture({}, sink).error(), AudioError::notAnswering);
        EXPECT_EQ(this->backend_->openPlayback({}, source).error(), AudioError::notAnswering);
        std::this_thread::sleep_for(200ms);
    }
    const auto deadline = Clock::now() + 3s;
    while (streamsOnTheServer() > 0 && Clock::now() < deadline)
        std::this_thread::sleep_for(100ms);
    EXPECT_EQ(streamsOnTheServer(), 0);
}

// PortAudio is one per process: a second backend's calls wait for a call of the first one that
// still hangs on the stopped server, and do not run alongside it, which corrupted its memory.
TEST(PortAudioBackendTest, ABackendMadeWhileAnEarlierOnesCallHangsWaitsItsTurn) {
    CountingSink sink;
    std::unique_ptr<AudioBackend> second;
    {
        PausedServer paused;
        if (!paused.any()) GTEST_SKIP() << "MURMORA_TEST_SERVER_PIDS names no server";
        auto first = makePortAudioBackend();
        EXPECT_EQ(first->openCapture({}, sink).error(), AudioError::notAnswering);
        first.reset();
        second = makePortAudioBackend();
        EXPECT_EQ(second->openCapture({}, sink).error(), AudioError::notAnswering);
    }
    auto opened = openOnceStarted([&] { return second->openCapture({}, sink); });
    ASSERT_TRUE(opened) << opened.error().message();
    EXPECT_EQ((*opened)->start(), std::error_code());
}

} // namespace
} // namespace murmora::audio
