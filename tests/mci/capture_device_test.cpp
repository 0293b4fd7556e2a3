#include "mci_test_support.h"
#include "platform/audio/take_file.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>

namespace murmora::mci::testing {
namespace {

class CaptureTest : public ServiceTest {
protected:
    void SetUp() override { ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess); }
    std::vector<std::int16_t> record(std::size_t frames, std::int16_t start = 1) {
        const auto samples = rampFrames(frames, start);
        EXPECT_EQ(send("record capture"), kSuccess);
        deliver(samples);
        return samples;
    }
};

TEST_F(CaptureTest, TheTakeHoldsEveryFrameDeliveredWhileRecordingOnlyAndIsReadableThroughout) {
    ASSERT_EQ(takeFiles().size(), 1u);
    const SndfileHandle fresh(takeFiles()[0].string()); // a new take is an empty WAV in the take folder
    EXPECT_EQ(fresh.error(), 0);
    EXPECT_EQ(fresh.frames(), 0);
    EXPECT_EQ(fresh.samplerate(), 44100);
    EXPECT_EQ(fresh.channels(), 2);
    EXPECT_EQ(status("capture length"), "0");
    auto expected = record(44100);
    // The header is kept current while recording, so a killed run leaves a readable take.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (takeSamples().size() < expected.size() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(takeSamples(), expected);
    EXPECT_EQ(status("capture mode"), "recording");
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_EQ(status("capture mode"), "stopped");
    EXPECT_FALSE(backend_->deliverCapture(rampFrames(500)));
    EXPECT_EQ(takeSamples(), expected);
    EXPECT_EQ(status("capture length"), "1000");
    ASSERT_EQ(send("set capture time format bytes"), kSuccess);
    EXPECT_EQ(status("capture length"), "176400");
    // Recording again appends to the take.
    const auto second = record(2000, 5);
    ASSERT_EQ(send("stop capture"), kSuccess);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(takeSamples(), expected);
}

TEST_F(CaptureTest, SaveStopsAndPutsTheWholeTakeAtThePathAgainAndAgainAfterFailedSaves) {
    const auto target = scratch_ / "my take.wav";
    writeWav(target, rampFrames(50000)); // replaced
    const auto frames = record(10000);
    for (const fs::path& bad : {scratch_ / "no such folder" / "a.wav", scratch_.path, fs::path("/proc/take.wav")})
        EXPECT_EQ(send("save capture " + bad.string()), kFileNotSaved) << bad;
    EXPECT_EQ(status("capture mode"), "stopped");
    EXPECT_EQ(takeSamples(), frames);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess);
    EXPECT_TRUE(takeFiles().empty());
    ASSERT_EQ(send("save capture " + (scratch_ / "second.wav").string()), kSuccess);
    EXPECT_EQ(send("record capture"), kDeviceNotReady);
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_EQ(readWav(target), frames);
    EXPECT_EQ(readWav(scratch_ / "second.wav"), frames);
}

TEST_F(CaptureTest, CloseWithoutSaveLeavesNoFile) {
    record(5000);
    ASSERT_EQ(send("close capture"), kSuccess);
    EXPECT_TRUE(takeFiles().empty());
    EXPECT_EQ(backend_->openStreamCount(), 0);
    EXPECT_EQ(send("status capture mode"), kAliasNotOpen);
    {
        MciStringService other(std::make_unique<audio::ScriptedBackend>(), scratch_ / "other");
        ASSERT_EQ(other.SendString("open new type waveaudio alias capture", nullptr, 0), kSuccess);
        ASSERT_EQ(other.SendString("record capture", nullptr, 0), kSuccess);
    }
    EXPECT_TRUE(fs::is_empty(scratch_ / "other"));
}

TEST_F(CaptureTest, OnlyATakeNoProgramHoldsCountsAsLeftBehind) {
    // The open take is held; a copy nobody holds was left by a killed run; the rest are no takes.
    fs::copy_file(takeFiles().at(0), takeFolder_ / "take-99999-0.wav");
    std::ofstream(takeFolder_ / ".hidden.wav") << "x";
    std::ofstream(takeFolder_ / "notes.txt") << "x";
    EXPECT_EQ(audio::unheldTakes(takeFolder_), std::vector<fs::path>{takeFolder_ / "take-99999-0.wav"});
    EXPECT_TRUE(audio::unheldTakes(scratch_ / "no such folder").empty());
}

TEST_F(CaptureTest, FramesTheRingCannotHoldAreCountedAsLost) {
    const auto& recorder = dynamic_cast<const CaptureDevice&>(*service_.device("capture")).recorder();
    ASSERT_EQ(send("record capture"), kSuccess);
    // More than the ring holds, delivered in one go before the writer can take any.
    const auto frames = rampFrames(recorder.ringCapacityFrames() + 1000);
    backend_->deliverCapture(frames);
    ASSERT_EQ(send("stop capture"), kSuccess);
    EXPECT_GT(recorder.framesLost(), 0);
    EXPECT_EQ(static_cast<std::int64_t>(takeSamples().size() / 2) + recorder.framesLost(),
              static_cast<std::int64_t>(frames.size() / 2));
}

// Lowers the largest file this process may write to 64 KiB, as a disk that fills does, until it goes.
struct FullDisk {
    rlimit saved{};
    FullDisk() {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited{64 * 1024, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST_F(CaptureTest, ADiskThatFillsMidTakeKeepsTheTakeSoFarValidAndSavable) {
    std::vector<std::int16_t> delivered;
    {
        FullDisk full;
        delivered = record(40000); // 160 kB of audio
        EXPECT_EQ(send("stop capture"), kTakeFileFailed);
    }
    const auto kept = readWav(takeFiles().at(0)); // a valid WAV of what fitted
    EXPECT_GT(kept.size(), 10000u);
    EXPECT_LT(kept.size(), delivered.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), delivered.begin()));
    ASSERT_EQ(send("save capture " + (scratch_ / "saved.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "saved.wav"), kept);
}

TEST_F(CaptureTest, ACopyingSaveThatRunsOutOfSpaceFailsAndLeavesNoPartialFile) {
    struct stat take{}, shm{};
    if (stat(takeFolder_.c_str(), &take) != 0 || stat("/dev/shm", &shm) != 0 || take.st_dev == shm.st_dev)
        GTEST_SKIP() << "/dev/shm is on the same file system as the take folder: no copy to test";
    const auto delivered = record(40000);
    ASSERT_EQ(send("stop capture"), kSuccess);
    const fs::path target = "/dev/shm/murmora-mci-test-" + std::to_string(::getpid()) + ".wav";
    {
        FullDisk full;
        EXPECT_EQ(send("save capture " + target.string()), kFileNotSaved);
    }
    for (const auto& entry : fs::directory_iterator("/dev/shm"))
        EXPECT_EQ(entry.path().filename().string().find(target.filename().string()), std::string::npos)
            << entry.path();
    EXPECT_EQ(takeSamples(), delivered);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess);
    EXPECT_EQ(readWav(target), delivered);
    EXPECT_TRUE(takeFiles().empty());
    fs::remove(target);
}

TEST(TakeFolder, NoTakeFolderMeansNoTake) {
    MciStringService service(std::make_unique<audio::ScriptedBackend>(), "/proc/murmora/takes");
    EXPECT_EQ(service.SendString("open new type waveaudio alias capture", nullptr, 0), kTakeFileFailed);
    EXPECT_EQ(service.SendString("record capture", nullptr, 0), kAliasNotOpen);
}

} // namespace
} // namespace murmora::mci::testing
