// Faults around the take file: a disk that fills, targets that cannot be written.
#include "mci_test_support.h"
#include "platform/mci/mci_errors.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace murmora::mci::testing {
namespace {

// Lowers the largest file this process may write, as a disk that fills does; the limit is
// lifted again when it goes out of scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};

constexpr rlim_t kFullAt = 64 * 1024;

class TakeFaultTest : public ServiceTest {
protected:
    void SetUp() override { ASSERT_EQ(send("open new type waveaudio alias capture"), kSuccess); }
    std::vector<std::int16_t> recordFrames(std::size_t frames) {
        const auto samples = rampFrames(frames);
        EXPECT_EQ(send("record capture"), kSuccess);
        deliver(samples);
        return samples;
    }
};

TEST_F(TakeFaultTest, ADiskThatFillsMidTakeKeepsTheTakeSoFarValidAndSavable) {
    std::vector<std::int16_t> delivered;
    {
        FileSizeLimit full(kFullAt);
        delivered = recordFrames(40000); // 160 kB of audio
        EXPECT_EQ(send("stop capture"), kTakeFileFailed);
    }
    const WavContents kept = readWav(takeFiles().at(0));
    ASSERT_TRUE(kept.readable);
    EXPECT_GT(kept.samples.size(), 10000u);
    EXPECT_LT(kept.samples.size(), delivered.size());
    EXPECT_TRUE(std::equal(kept.samples.begin(), kept.samples.end(), delivered.begin()));
    ASSERT_EQ(send("save capture " + (scratch_ / "saved.wav").string()), kSuccess);
    EXPECT_EQ(readWav(scratch_ / "saved.wav").samples, kept.samples);
}

// A folder on another file system than the take folder, so that saving there copies.
std::filesystem::path otherFileSystem(const std::filesystem::path& takeFolder) {
    struct stat take{}, shm{};
    if (stat(takeFolder.c_str(), &take) != 0 || stat("/dev/shm", &shm) != 0 || take.st_dev == shm.st_dev)
        return {};
    return "/dev/shm";
}

TEST_F(TakeFaultTest, ASaveThatRunsOutOfSpaceFailsAndLeavesNoPartialFile) {
    const auto other = otherFileSystem(takeFolder_);
    if (other.empty())
        GTEST_SKIP() << "/dev/shm is on the same file system as the take folder: no copy to test";
    ScratchFolder scratchThere;
    const auto delivered = recordFrames(40000);
    ASSERT_EQ(send("stop capture"), kSuccess);
    const auto target = other / ("murmora-mci-test-" + std::to_string(::getpid()) + ".wav");
    {
        FileSizeLimit full(kFullAt);
        EXPECT_EQ(send("save capture " + target.string()), kFileNotSaved);
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    for (const auto& entry : std::filesystem::directory_iterator(other))
        EXPECT_EQ(entry.path().filename().string().find(target.filename().string()), std::string::npos)
            << entry.path();
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, delivered);
    ASSERT_EQ(send("save capture " + target.string()), kSuccess); // copied, room enough now
    EXPECT_EQ(readWav(target).samples, delivered);
    EXPECT_TRUE(takeFiles().empty());
    std::filesystem::remove(target);
}

TEST_F(TakeFaultTest, AnUnwritableTargetFailsAndTheTakeStays) {
    const auto delivered = recordFrames(5000);
    EXPECT_EQ(send("save capture /proc/murmora-take.wav"), kFileNotSaved);
    EXPECT_EQ(send("save capture " + (scratch_ / "missing" / "take.wav").string()), kFileNotSaved);
    EXPECT_EQ(send("status capture mode"), kSuccess);
    EXPECT_EQ(reply_, "stopped");
    EXPECT_EQ(readWav(takeFiles().at(0)).samples, delivered);
}

TEST_F(TakeFaultTest, NoTakeFolderMeansNoTake) {
    MciStringService service(std::make_unique<audio::ScriptedBackend>(), "/proc/murmora/takes");
    EXPECT_EQ(service.SendString("open new type waveaudio alias capture", nullptr, 0), kTakeFileFailed);
    EXPECT_EQ(service.SendString("record capture", nullptr, 0), kAliasNotOpen);
}

} // namespace
} // namespace murmora::mci::testing
