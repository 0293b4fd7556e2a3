#include "mci_test_support.h"
#include "platform/audio/take_file.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
        ASSERT_EQ(other.sendString("open new type waveaudio alias capture", nullptr, 0), kSuccess);
        ASSERT_EQ(other.sendString("record capture", nullptr, 0), kSuccess);
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

// Lowers the largest file this process may write (64 KiB), as a disk that fills does, until it goes.
struct FullDisk {
    rlimit saved{};
    explicit FullDisk(rlim_t bytes = 64 * 1024) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited{bytes, saved.rlim_max};
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

TEST_F(CaptureTest, AFailureSaysTheSystemsReasonInItsWords) {
    {
        FullDisk full;
        record(40000);
        EXPECT_EQ(send("stop capture"), kTakeFileFailed);
    }
    EXPECT_EQ(service_.getErrorString(kTakeFileFailed),
              "The file for the recording could not be written to its end (File too large)");
    EXPECT_EQ(send("save capture " + (scratch_ / "no such folder" / "a.wav").string()), kFileNotSaved);
    EXPECT_EQ(service_.getErrorString(kFileNotSaved), "The file could not be saved (No such file or directory)");
}

// A save to another file system copies the take. The copy never goes through an entry already
// there (a link planted where the partial copy once went) nor removes one, and when the disk
// fills it leaves nothing behind and keeps the take for the next try.
TEST_F(CaptureTest, ACopyToAnotherFileSystemTouchesNoEntryItDidNotMakeAndKeepsTheTakeOnFailure) {
    std::string pattern = "/dev/shm/murmora-mci-test-XXXXXX";
    struct stat take {
    }, shm{};
    if (stat(takeFolder_.c_str(), &take) != 0 || !::mkdtemp(pattern.data()) || stat(pattern.c_str(), &shm) != 0 ||
        take.st_dev == shm.st_dev)
        GTEST_SKIP() << "no folder on another file system than the take folder: no copy to test";
    const fs::path folder = pattern;
    const fs::path target = folder / "take.wav";
    std::ofstream(folder / "victim") << "victim";
    fs::create_symlink(folder / "victim", folder / (".take.wav.part-" + std::to_string(::getpid())));
    const auto entries = [&] {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    };
    const auto untouched = entries();
    const auto delivered = record(40000);
    ASSERT_EQ(send("stop capture"), kSuccess);
    {
        FullDisk full;
        EXPECT_EQ(send("save capture " + target.string()), kFileNotSaved);
    }
    EXPECT_EQ(entries(), untouched);
    EXPECT_EQ(takeSamples(), delivered);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess);
    EXPECT_EQ(readWav(target), delivered);
    EXPECT_TRUE(takeFiles().empty());
    auto withTake = untouched;
    withTake.insert("take.wav");
    EXPECT_EQ(entries(), withTake);
    std::string victim;
    std::ifstream(folder / "victim") >> victim;
    EXPECT_EQ(victim, "victim");
    fs::remove_all(folder);
}

// A save may run on a worker thread while the user interface goes on sending commands: those
// for other devices are answered at once, those for the device being saved say it is busy.
TEST_F(CaptureTest, WhileASaveIsAtWorkOtherDevicesAnswerAndTheSavedOneIsBusy) {
    writeWav(scratch_ / "a.wav", rampFrames(44100));
    ASSERT_EQ(openFile(scratch_ / "a.wav"), kSuccess);
    ASSERT_EQ(send("play voice1"), kSuccess);
    const auto frames = record(2000);
    backend_->holdCaptureStops(true); // the save's own stop of the take waits
    int saved = -1;
    std::thread worker(
        [&] { saved = service_.sendString("save capture " + (scratch_ / "b.wav").string(), nullptr, 0); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool busy = false;
    while (!busy && std::chrono::steady_clock::now() < deadline)
        busy = send("status capture mode") == kDeviceNotReady;
    if (busy) {
        EXPECT_EQ(send("close capture"), kDeviceNotReady);
        EXPECT_EQ(status("voice1 mode"), "playing");
        EXPECT_EQ(send("close voice1"), kSuccess);
    }
    backend_->holdCaptureStops(false);
    worker.join();
    EXPECT_TRUE(busy) << "the device being saved did not say it was busy";
    EXPECT_EQ(saved, kSuccess);
    EXPECT_EQ(readWav(scratch_ / "b.wav"), frames);
    EXPECT_EQ(send("close capture"), kSuccess);
}

// Runs `work` on a thread of its own and returns once that thread sleeps (as one waiting for a
// lock or a held device does) or has ended.
template <typename Work>
std::thread startUntilAsleep(Work work) {
    std::atomic<pid_t> tid{0};
    std::thread thread([&tid, work] {
        tid = ::gettid();
        work();
    });
    while (tid == 0)
        std::this_thread::yield();
    for (;;) {
        std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
        std::string line;
        if (!std::getline(stat, line)) return thread;
        const auto state = line.rfind(") ");
        if (state != std::string::npos && line.at(state + 2) == 'S') return thread;
        std::this_thread::yield();
    }
}

// A save begun while another command is at work on the device (here a stop the device is slow
// to finish) waits for it to end instead of answering busy.
TEST_F(CaptureTest, ASaveWaitsForTheCommandAtWorkOnItsDevice) {
    const auto frames = record(2000);
    backend_->holdCaptureStops(true);
    std::thread stopper =
        startUntilAsleep([&] { EXPECT_EQ(service_.sendString("stop capture", nullptr, 0), kSuccess); });
    int saved = -1;
    std::thread saver = startUntilAsleep(
        [&] { saved = service_.sendString("save capture " + (scratch_ / "b.wav").string(), nullptr, 0); });
    backend_->holdCaptureStops(false);
    stopper.join();
    saver.join();
    EXPECT_EQ(saved, kSuccess);
    EXPECT_EQ(readWav(scratch_ / "b.wav"), frames);
}

// The wait is bounded: a device that stays busy makes the save answer busy, and the take is kept.
TEST_F(CaptureTest, ASaveWhoseDeviceStaysBusyAnswersBusyAndKeepsTheTake) {
    const auto frames = record(2000);
    backend_->holdCaptureStops(true);
    std::thread stopper =
        startUntilAsleep([&] { EXPECT_EQ(service_.sendString("stop capture", nullptr, 0), kSuccess); });
    EXPECT_EQ(send("save capture " + (scratch_ / "b.wav").string()), kDeviceNotReady);
    backend_->holdCaptureStops(false);
    stopper.join();
    EXPECT_EQ(takeSamples(), frames);
}

// Takes are nobody else's to read: the folder is made for the user alone, a take file is the
// user's alone while it records, and the saved file is then an ordinary file of the user's.
TEST_F(CaptureTest, TheTakeFolderAndFileAreTheUsersAloneUntilTheTakeIsSaved) {
    const auto mode = [](const fs::path& path) {
        struct stat info {};
        return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    };
    EXPECT_EQ(mode(takeFolder_), 0700u);
    EXPECT_EQ(mode(takeFiles().at(0)), 0600u);
    record(1000);
    const mode_t saved = ::umask(022);
    EXPECT_EQ(send("save capture " + (scratch_ / "saved.wav").string()), kSuccess);
    ::umask(saved);
    EXPECT_EQ(mode(scratch_ / "saved.wav"), 0644u);
}

TEST(TakeFolder, WithoutHomeOrCacheFolderItIsNamedForTheUser) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string cache = std::getenv("XDG_CACHE_HOME") ? std::getenv("XDG_CACHE_HOME") : "";
    ::unsetenv("HOME");
    ::unsetenv("XDG_CACHE_HOME");
    EXPECT_EQ(audio::defaultTakeFolder(), "/var/tmp/murmora-takes-" + std::to_string(::geteuid()));
    if (!home.empty()) ::setenv("HOME", home.c_str(), 1);
    if (!cache.empty()) ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
}

// A take that cannot be made is refused, and the service names the folder and the cause: a
// folder that cannot be made, a link or another user's folder (takes are nobody else's to read
// or swap), a disk with no room for the file.
TEST(TakeFolder, ATakeThatCannotBeMadeIsRefusedWithItsFolderAndCause) {
    ScratchFolder scratch;
    fs::create_directory(scratch / "real");
    fs::create_symlink(scratch / "real", scratch / "link");
    fs::path foreign = "/tmp"; // root's, unless the test runs as root
    if (::geteuid() == 0) {
        foreign = scratch / "foreign";
        fs::create_directory(foreign);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    const std::string refused = "the folder is a link or belongs to another user";
    const struct {
        fs::path folder;
        std::string cause;
        rlim_t room;
    } cases[] = {{"/proc/murmora/takes", "No such file or directory", RLIM_INFINITY},
                 {scratch / "link", refused, RLIM_INFINITY},
                 {foreign, refused, RLIM_INFINITY},
                 {scratch / "full", "File too large", 0}};
    for (const auto& c : cases) {
        MciStringService service(std::make_unique<audio::ScriptedBackend>(), c.folder);
        {
            FullDisk full(c.room);
            EXPECT_EQ(service.sendString("open new type waveaudio alias capture", nullptr, 0), kTakeFileFailed);
        }
        EXPECT_EQ(service.sendString("close capture", nullptr, 0), kAliasNotOpen); // another failure meanwhile
        EXPECT_EQ(service.getErrorString(kTakeFileFailed),
                  "The file for the recording could not be created in " + c.folder.string() + " (" + c.cause + ")");
    }
    EXPECT_TRUE(fs::is_empty(scratch / "real"));
    EXPECT_TRUE(fs::is_empty(scratch / "full"));
}

} // namespace
} // namespace murmora::mci::testing
