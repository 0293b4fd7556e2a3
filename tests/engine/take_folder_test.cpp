// Where takes live while they record: the folder, who may read them, and which are left over.
#include "engine/disk_take_folder.h"
#include "engine/take_file.h"
#include "engine_fixture.h"
#include "tests/support/scoped_variable.h"

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

namespace murmora::testing {
namespace {

using TakeFolderTest = EngineTest;

mode_t modeOf(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Takes are nobody else's to read.
TEST_F(TakeFolderTest, IsMadeForTheUserAloneAndSoIsEachTake) {
    ASSERT_TRUE(engine_->startTake(""));
    EXPECT_EQ(modeOf(takeFolder_), 0700u);
    EXPECT_EQ(modeOf(takeFiles().at(0)), 0600u);
}

// A folder that cannot be made, a link or another user's folder (takes are nobody else's to
// read or swap), a disk with no room for the file.
TEST_F(TakeFolderTest, ATakeThatCannotBeMadeThereIsRefusedWithTheFolderAndTheCause) {
    fs::create_directory(scratch_ / "real");
    fs::create_symlink(scratch_ / "real", scratch_ / "link");
    fs::path foreign = "/tmp"; // root's, unless the test runs as root
    if (::geteuid() == 0) {
        foreign = scratch_ / "foreign";
        fs::create_directory(foreign);
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }
    std::ofstream(scratch_ / "file") << "x";
    const struct {
        fs::path folder;
        std::string cause;
        rlim_t room;
    } cases[] = {{"/proc/murmora/takes", "No such file or directory", RLIM_INFINITY},
                 {scratch_ / "link", "the folder is a link to another place", RLIM_INFINITY},
                 {foreign, "the folder belongs to another user", RLIM_INFINITY},
                 {scratch_ / "file", "it is not a folder", RLIM_INFINITY},
                 {scratch_ / "full", "File too large", 0}};
    for (const auto& c : cases) {
        audio::SoundEngine engine(std::make_unique<audio::ScriptedBackend>(), c.folder, ui_);
        SoundError error;
        {
            FullDisk full(c.room);
            const auto started = engine.startTake("");
            if (!started) error = started.error();
        }
        EXPECT_EQ(error.failure, SoundFailure::takeFile) << c.folder;
        EXPECT_EQ(error.text,
                  "The file for the recording could not be created in " + c.folder.string() + " (" + c.cause + ")");
    }
    EXPECT_TRUE(fs::is_empty(scratch_ / "real"));
    EXPECT_TRUE(fs::is_empty(scratch_ / "full"));
}

// Left by a run that was killed in the middle of a take: no program holds it. The take that
// records is held; a hidden file and a file of another kind are no takes.
TEST_F(TakeFolderTest, OnlyATakeNoProgramHoldsIsLeftOverAndTheOldestComesFirst) {
    ASSERT_TRUE(engine_->startTake(""));
    const auto now = fs::file_time_type::clock::now();
    for (const auto& [name, age] : {std::pair{"take-99999-0.wav", 60}, std::pair{"take-99999-1.wav", 120}}) {
        fs::copy_file(takeFiles().at(0), takeFolder_ / name);
        fs::last_write_time(takeFolder_ / name, now - std::chrono::seconds(age));
    }
    std::ofstream(takeFolder_ / ".hidden.wav") << "x";
    std::ofstream(takeFolder_ / "notes.txt") << "x";
    const auto leftovers = audio::makeTakeFolder(takeFolder_)->leftovers();
    ASSERT_EQ(leftovers.size(), 2u);
    EXPECT_EQ(leftovers[0].path, (takeFolder_ / "take-99999-1.wav").string());
    EXPECT_EQ(leftovers[1].path, (takeFolder_ / "take-99999-0.wav").string());
    EXPECT_EQ(leftovers[1].lastWritten - leftovers[0].lastWritten, 60);
    EXPECT_TRUE(audio::makeTakeFolder(scratch_ / "no such folder")->leftovers().empty());
}

using testing::ScopedVariable;

// On disk, never in memory: the user's cache folder, else a folder named for the user.
TEST(DefaultTakeFolder, IsInTheCacheFolderElseTheHomeFolderElseNamedForTheUser) {
    const struct {
        const char* cache;
        const char* home;
        std::string expected;
    } cases[] = {{"/c", "/h", "/c/murmora/takes"},
                 {"relative", "/h", "/h/.cache/murmora/takes"},
                 {nullptr, "/h", "/h/.cache/murmora/takes"},
                 {nullptr, nullptr, "/var/tmp/murmora-takes-" + std::to_string(::geteuid())}};
    for (const auto& c : cases) {
        const ScopedVariable cache("XDG_CACHE_HOME", c.cache), home("HOME", c.home);
        EXPECT_EQ(audio::defaultTakeFolder(), c.expected);
    }
}

} // namespace
} // namespace murmora::testing
