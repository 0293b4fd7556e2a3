// A save that copies a take to another file system notes its partial file in the take folder;
// the next start removes the partial file of a save that was killed, and nothing else.
#include "engine/disk_take_folder.h"
#include "engine/take_encoder.h"
#include "engine/take_file.h"
#include "platform/posix/partial_file.h"
#include "tests/support/take_samples.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <set>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace murmora::testing {
namespace {

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

class UnfinishedSaves : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(takes_);
        fs::create_directories(target_);
    }
    // A note as a killed save leaves it: unlocked, naming `partial`.
    void leaveNote(const std::string& name, const fs::path& partial) { writeText(takes_ / name, partial.string()); }

    ScratchFolder scratch_;
    fs::path takes_ = scratch_ / "murmora" / "takes";
    fs::path target_ = scratch_ / "target";
};

TEST_F(UnfinishedSaves, TheNamedPartialFilesGoAndNothingElse) {
    writeText(target_ / ".murmora-save-Killed", "partial");
    leaveNote("unfinished-save-aaaaaa", target_ / ".murmora-save-Killed");
    // Named, but no partial file of a save: another name, a link, a folder, a relative path.
    writeText(target_ / "victim.wav", "keep");
    leaveNote("unfinished-save-bbbbbb", target_ / "victim.wav");
    fs::create_symlink(target_ / "victim.wav", target_ / ".murmora-save-Linked");
    leaveNote("unfinished-save-cccccc", target_ / ".murmora-save-Linked");
    fs::create_directory(target_ / ".murmora-save-Folder");
    leaveNote("unfinished-save-dddddd", target_ / ".murmora-save-Folder");
    leaveNote("unfinished-save-eeeeee", ".murmora-save-Killed");
    // Not named by any note.
    writeText(target_ / ".murmora-save-Stray", "not ours to judge");
    // A save at work holds its note; one just begun has named nothing yet.
    writeText(target_ / ".murmora-save-AtWork", "copying");
    leaveNote("unfinished-save-ffffff", target_ / ".murmora-save-AtWork");
    const int held = ::open((takes_ / "unfinished-save-ffffff").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    writeText(takes_ / "unfinished-save-gggggg", "");

    posix::removeUnfinishedPartialFiles(takes_);
    ::close(held);
    EXPECT_EQ(namesIn(target_), (std::set<std::string>{"victim.wav", ".murmora-save-Linked", ".murmora-save-Folder",
                                                       ".murmora-save-Stray", ".murmora-save-AtWork"}));
    EXPECT_EQ(namesIn(takes_), (std::set<std::string>{"unfinished-save-ffffff", "unfinished-save-gggggg"}));
}

TEST_F(UnfinishedSaves, ANoteLastsAsLongAsItsPartialFile) {
    {
        auto partial = posix::PartialFile::createBeside(target_ / "take.wav", ".murmora-save-", takes_);
        ASSERT_TRUE(partial);
        const fs::path made = (*partial)->path();
        EXPECT_EQ(made.parent_path(), target_);
        EXPECT_EQ(made.filename().string().rfind(".murmora-save-", 0), 0u);
        struct stat info {};
        ASSERT_EQ(::lstat(made.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        ASSERT_EQ(namesIn(takes_).size(), 1u);
        std::ifstream note(takes_ / *namesIn(takes_).begin());
        std::string named;
        std::getline(note, named);
        EXPECT_EQ(named, made.string());
        posix::removeUnfinishedPartialFiles(takes_); // another start, while the copy runs
        EXPECT_TRUE(fs::exists(made));
        ASSERT_FALSE((*partial)->replaceTarget());
    }
    EXPECT_TRUE(namesIn(takes_).empty());
    EXPECT_EQ(namesIn(target_), std::set<std::string>{"take.wav"});
}

// Runs `save` in a process of its own, which records a take of `blocks` MiB into `takes` first,
// and kills it as soon as the save makes its partial file in `targetFolder` (or after 30 s).
// Answers the names left in `targetFolder`, empty when the save was not killed so.
template <typename Save>
std::set<std::string> killedAtItsPartialFile(const fs::path& takes, const fs::path& targetFolder, int blocks,
                                             Save save) {
    const int watch = ::inotify_init1(IN_CLOEXEC);
    if (watch < 0 || ::inotify_add_watch(watch, targetFolder.c_str(), IN_CREATE) < 0) return {};
    const pid_t saver = ::fork();
    if (saver < 0) return {};
    if (saver == 0) {
        auto take = audio::TakeFile::create(takes, {44100, 2});
        if (!take) ::_exit(2);
        const std::vector<std::int16_t> block = rampFrames(1 << 18);
        for (int i = 0; i < blocks; ++i)
            static_cast<void>((*take)->append(block.data(), block.size() / 2));
        save(**take);
        for (;;)
            ::pause(); // the kill must find it at work, however fast the save was
    }
    pollfd ready{watch, POLLIN, 0};
    char events[4096];
    const bool created = ::poll(&ready, 1, 30000) == 1 && ::read(watch, events, sizeof events) > 0;
    ::kill(saver, SIGKILL);
    int status = 0;
    ::waitpid(saver, &status, 0);
    ::close(watch);
    if (!created || !WIFSIGNALED(status)) return {};
    return namesIn(targetFolder);
}

// A process killed while it copies its take to another file system leaves the take and a
// partial copy beside the target; the next start's look for leftover takes removes the copy and
// tells that the take's save did not finish.
TEST_F(UnfinishedSaves, ASaveKilledMidCopyLeavesNothingBehindAfterTheNextStart) {
    std::string pattern = "/dev/shm/murmora-mci-test-XXXXXX";
    struct stat takeFolder {
    }, shm{};
    if (::stat(takes_.c_str(), &takeFolder) != 0 || !::mkdtemp(pattern.data()) || ::stat(pattern.c_str(), &shm) != 0 ||
        takeFolder.st_dev == shm.st_dev)
        GTEST_SKIP() << "no folder on another file system than the take folder: no copy to kill";
    const fs::path elsewhere = pattern;
    const std::set<std::string> left = killedAtItsPartialFile(takes_, elsewhere, 256, [&](audio::TakeFile& take) {
        static_cast<void>(take.placeAt(elsewhere / "take.wav")); // 256 MiB, whose copy takes a while
    });
    ASSERT_EQ(left.size(), 1u) << "the save was not killed at its copy";
    EXPECT_EQ(left.begin()->rfind(".murmora-save-", 0), 0u);

    const std::vector<LeftoverTake> leftovers = audio::makeTakeFolder(takes_)->leftovers();
    EXPECT_TRUE(namesIn(elsewhere).empty());
    ASSERT_EQ(leftovers.size(), 1u) << "the take itself is kept";
    EXPECT_TRUE(leftovers[0].saveUnfinished);
    fs::remove_all(elsewhere);
}

TEST_F(UnfinishedSaves, ASaveKilledMidEncodingLeavesNothingBehindAfterTheNextStart) {
    const std::set<std::string> left = killedAtItsPartialFile(takes_, target_, 64, [&](audio::TakeFile& take) {
        if (take.finish()) ::_exit(4);
        static_cast<void>(audio::encodeTake(take.path(), target_ / "take.flac", audio::EncodedFormat::flac));
    });
    ASSERT_EQ(left.size(), 1u) << "the save was not killed at its encoding";
    EXPECT_EQ(left.begin()->rfind(".murmora-encode-", 0), 0u);

    const std::vector<LeftoverTake> leftovers = audio::makeTakeFolder(takes_)->leftovers();
    EXPECT_TRUE(namesIn(target_).empty());
    ASSERT_EQ(leftovers.size(), 1u) << "the take itself is kept";
    EXPECT_TRUE(leftovers[0].saveUnfinished);
    EXPECT_EQ(namesIn(takes_).size(), 1u) << "the note went";
}

// A take that a run left in the middle of recording it is no save that did not finish.
TEST_F(UnfinishedSaves, ATakeKilledWhileItRecordsIsNoUnfinishedSave) {
    const std::set<std::string> left = killedAtItsPartialFile(takes_, takes_, 1, [](audio::TakeFile&) {});
    ASSERT_EQ(left.size(), 1u) << "the take was not made";
    const std::vector<LeftoverTake> leftovers = audio::makeTakeFolder(takes_)->leftovers();
    ASSERT_EQ(leftovers.size(), 1u);
    EXPECT_FALSE(leftovers[0].saveUnfinished);
}

} // namespace
} // namespace murmora::testing
