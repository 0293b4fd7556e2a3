// A take through the engine: how it ends, what its file holds, its save and its discard.
#include "engine/capture_recorder.h"
#include "engine/disk_take_folder.h"
#include "engine/take_file.h"
#include "engine_fixture.h"

#include <sys/stat.h>

#include <fstream>
#include <set>

namespace murmora::testing {
namespace {

using TakeTest = EngineTest;
using namespace std::chrono_literals;

TEST_F(TakeTest, EndsAsAskedAndTellsItsWholeSecondsOnTheUserInterfaceThreadOnly) {
    record(44100 * 3 / 2);
    engine_->stopTake();
    EXPECT_TRUE(ends_.empty()) << "told within the call";
    const auto end = told();
    ASSERT_TRUE(end);
    EXPECT_EQ(end->seconds, 1);
    EXPECT_FALSE(end->early) << end->early.text;
    EXPECT_EQ(ends_.size(), 1u);
}

TEST_F(TakeTest, OneThatGotNoFrameSaysItIsEmpty) {
    ASSERT_TRUE(engine_->startTake(""));
    const auto empty = stop();
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty);
    engine_->discardTake();
    ends_.clear();
    record(1);
    const auto one = stop();
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->empty);
}

TEST_F(TakeTest, ItsFileHoldsEveryFrameDeliveredWhileRecordingAndIsReadableMeanwhile) {
    const auto frames = record(44100);
    ASSERT_EQ(takeFiles().size(), 1u);
    const SndfileHandle file(takeFiles().at(0).string());
    EXPECT_EQ(file.samplerate(), 44100);
    EXPECT_EQ(file.channels(), 2);
    // The header is kept current while recording, so that a killed run leaves a readable take.
    EXPECT_TRUE(eventually([&] { return readWav(takeFiles().at(0)) == frames; }));
    ASSERT_TRUE(stop());
    EXPECT_FALSE(backend_->deliverCapture(rampFrames(500))) << "a stopped take takes no frames";
    EXPECT_EQ(readWav(takeFiles().at(0)), frames);
}

TEST_F(TakeTest, NoFrameForTheLimitEndsItByItselfAsALostInput) {
    const auto frames = record(4410);
    const auto lastFrame = std::chrono::steady_clock::now();
    const auto end = told();
    ASSERT_TRUE(end) << "an input that sends nothing was not told";
    EXPECT_GE(std::chrono::steady_clock::now() - lastFrame, audio::CaptureRecorder::kNoFramesLimit);
    EXPECT_EQ(end->early.failure, SoundFailure::deviceLost);
    EXPECT_EQ(readWav(takeFiles().at(0)), frames);
}

TEST_F(TakeTest, AnInputSlowToSendItsFirstFramesIsNotLost) {
    ASSERT_TRUE(engine_->startTake(""));
    std::this_thread::sleep_for(audio::CaptureRecorder::kNoFramesLimit + 300ms);
    deliver(*backend_, rampFrames(4410));
    const auto end = stop();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->early) << end->early.text;
}

// Whether the take's stream stops (paused) or runs again (resumed) within 5 s: the engine
// pauses and resumes on its worker.
bool streamRuns(audio::ScriptedBackend& backend, bool runs) {
    return eventually([&] { return backend.deliverCapture({}) == runs; });
}

// However a take ends early, the cause is told and every frame that arrived is kept for the save.
TEST_F(TakeTest, AnEarlyEndIsToldWithItsCauseAndKeepsEveryFrameReceived) {
    const auto pause = [this] {
        engine_->pauseTake();
        ASSERT_TRUE(streamRuns(*backend_, false)) << "not paused";
    };
    const struct {
        const char* cause;
        std::function<std::optional<TakeEnd>()> end;
        SoundFailure failure;
    } cases[] = {
        {"the input lost", [&] { return backend_->loseStreams(), told(); }, SoundFailure::deviceLost},
        {"a stop right after the input was lost", [&] { return backend_->loseStreams(), stop(); },
         SoundFailure::deviceLost},
        {"the input lost while paused", [&] { return pause(), backend_->loseStreams(), told(); },
         SoundFailure::deviceLost},
        {"a resume the server does not answer",
         [&] { return pause(), backend_->setAnswering(false), engine_->resumeTake(), told(); },
         SoundFailure::notAnswering},
        {"a stop the server does not confirm", [&] { return backend_->setAnswering(false), stop(); },
         SoundFailure::notAnswering},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        makeEngine();
        ui_.runPosted(); // what the engine before told
        ends_.clear();
        const auto frames = record(4410);
        const auto end = c.end();
        ASSERT_TRUE(end) << "not told";
        EXPECT_EQ(end->early.failure, c.failure) << end->early.text;
        backend_->setAnswering(true);
        ASSERT_FALSE(save(scratch_ / "kept.wav"));
        EXPECT_EQ(readWav(scratch_ / "kept.wav"), frames);
    }
}

TEST_F(TakeTest, PausedAndResumedItHoldsTheFramesFromOutsideThePausesBackToBack) {
    std::vector<std::int16_t> expected = record(4410);
    for (std::int16_t stretch = 1; stretch <= 3; ++stretch) {
        engine_->pauseTake();
        ASSERT_TRUE(streamRuns(*backend_, false)) << "not paused";
        engine_->resumeTake();
        ASSERT_TRUE(streamRuns(*backend_, true)) << "not resumed";
        const auto samples =
            rampFrames(4410 + static_cast<std::size_t>(stretch), static_cast<std::int16_t>(stretch * 1000));
        deliver(*backend_, samples);
        expected.insert(expected.end(), samples.begin(), samples.end());
    }
    ASSERT_TRUE(stop());
    EXPECT_EQ(readWav(takeFiles().at(0)), expected);
}

TEST_F(TakeTest, WhilePausedItsFileIsWholeAndNoFrameForTheLimitIsNoLoss) {
    const auto frames = record(4410);
    engine_->pauseTake();
    ASSERT_TRUE(streamRuns(*backend_, false));
    EXPECT_TRUE(eventually([&] { return readWav(takeFiles().at(0)) == frames; }));
    std::this_thread::sleep_for(audio::CaptureRecorder::kNoFramesLimit + 300ms);
    ui_.runPosted();
    EXPECT_TRUE(ends_.empty()) << "a paused take was taken for a lost input";
    const auto end = stop();
    ASSERT_TRUE(end);
    EXPECT_FALSE(end->early) << end->early.text;
}

TEST_F(TakeTest, ADiskThatRefusesFramesEndsItAtOnceKeepingWhatWasWrittenForTheSave) {
    std::vector<std::int16_t> delivered;
    std::optional<TakeEnd> end;
    {
        FullDisk full; // 64 KiB: the take outgrows it
        delivered = record(40000);
        end = told();
    }
    ASSERT_TRUE(end) << "the full disk was not told before Stop";
    EXPECT_EQ(end->early.failure, SoundFailure::takeFile);
    EXPECT_EQ(end->early.text, "The file for the recording could not be written to its end (File too large)");
    ASSERT_FALSE(save(scratch_ / "kept.wav"));
    const auto kept = readWav(scratch_ / "kept.wav");
    EXPECT_GT(kept.size(), 10000u);
    EXPECT_LT(kept.size(), delivered.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), delivered.begin())) << "not the frames written first";
}

TEST_F(TakeTest, FramesBeyondWhatItsRingHoldsInAStallAreLostNotMisplaced) {
    ASSERT_TRUE(engine_->startTake(""));
    const auto delivered = rampFrames(44100 * 15); // in one go, before the writer takes any
    ASSERT_TRUE(backend_->deliverCapture(delivered));
    ASSERT_TRUE(stop());
    const auto kept = readWav(takeFiles().at(0));
    EXPECT_LT(kept.size(), delivered.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), delivered.begin()));
}

TEST_F(TakeTest, ATakeThatCannotStartSaysWhyAndLeavesNothingForTheNextStart) {
    const struct {
        const char* name;
        bool deviceAvailable;
        bool answering;
        SoundError expected;
    } cases[] = {{"no input", false, true, {SoundFailure::noDevice, "The sound input could not be opened"}},
                 {"a silent server", true, false, {SoundFailure::notAnswering, "The sound server does not answer"}}};
    for (const auto& c : cases) {
        backend_->setDeviceAvailable(c.deviceAvailable);
        backend_->setAnswering(c.answering);
        const auto started = engine_->startTake("");
        const SoundError error = started ? SoundError{} : started.error();
        EXPECT_EQ(error.failure, c.expected.failure) << c.name;
        EXPECT_EQ(error.text, c.expected.text) << c.name;
        EXPECT_TRUE(takeFolderEmpties()) << c.name;
        EXPECT_EQ(backend_->openStreamCount(), 0) << c.name;
    }
    engine_->stopTake();
    ui_.runPosted();
    EXPECT_TRUE(ends_.empty()) << "no take, no end";
    backend_->setDeviceAvailable(true);
    backend_->setAnswering(true);
    EXPECT_TRUE(engine_->startTake("")) << "the next start tries again";
}

TEST_F(TakeTest, ASaveOnTheSameFileSystemPutsTheTakeInPlaceOfAnyFileThere) {
    const auto target = scratch_ / "my take.wav";
    writeWav(target, rampFrames(50000));
    const auto frames = record(10000);
    ASSERT_TRUE(stop());
    const SoundError saved = save(target);
    EXPECT_FALSE(saved) << saved.text;
    EXPECT_EQ(readWav(target), frames);
    EXPECT_TRUE(takeFiles().empty());
}

TEST_F(TakeTest, ASavedTakeIsGoneFromTheEngine) {
    record(1000);
    ASSERT_TRUE(stop());
    ASSERT_FALSE(save(scratch_ / "saved.wav"));
    engine_->saveTake((scratch_ / "again.wav").string(), SaveFormat::wav);
    engine_->stopTake();
    ui_.runPosted();
    EXPECT_EQ(saves_.size(), 1u);
    EXPECT_EQ(ends_.size(), 1u);
    EXPECT_EQ(engine_->inputPeak(), 0);
}

TEST_F(TakeTest, AFailedSaveSaysWhyAndKeepsTheTakeForAnotherTry) {
    const auto frames = record(10000);
    ASSERT_TRUE(stop());
    fs::create_directory(scratch_ / "a folder");
    const struct {
        fs::path target;
        const char* reason;
    } cases[] = {{scratch_ / "no such folder" / "a.wav", "No such file or directory"},
                 {scratch_ / "a folder", "Is a directory"},
                 {"/proc/take.wav", "No such file or directory"}};
    for (const auto& c : cases) {
        const SoundError error = save(c.target);
        EXPECT_EQ(error.failure, SoundFailure::notSaved) << c.target;
        EXPECT_EQ(error.text, std::string("The file could not be saved (") + c.reason + ")") << c.target;
    }
    EXPECT_EQ(readWav(takeFiles().at(0)), frames);
    ASSERT_FALSE(save(scratch_ / "at last.wav"));
    EXPECT_EQ(readWav(scratch_ / "at last.wav"), frames);
}

TEST_F(TakeTest, ASavedTakeHasThePermissionsTheUserGivesNewFiles) {
    record(1000);
    ASSERT_TRUE(stop());
    const mode_t before = ::umask(027);
    const SoundError error = save(scratch_ / "saved.wav");
    ::umask(before);
    ASSERT_FALSE(error) << error.text;
    struct stat info {};
    ASSERT_EQ(::stat((scratch_ / "saved.wav").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// A folder on another file system than the take folder, where a save copies; none where the
// machine has no tmpfs at /dev/shm.
struct OtherFileSystem {
    std::string pattern = "/dev/shm/murmora-engine-test-XXXXXX";
    fs::path folder;
    explicit OtherFileSystem(const fs::path& takeFolder) {
        struct stat take {
        }, other{};
        if (::stat(takeFolder.c_str(), &take) == 0 && ::mkdtemp(pattern.data()) &&
            ::stat(pattern.c_str(), &other) == 0 && take.st_dev != other.st_dev)
            folder = pattern;
    }
    ~OtherFileSystem() {
        std::error_code ignored;
        if (!folder.empty()) fs::remove_all(folder, ignored);
    }
    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
};

// The copy is made under a name of its own and renamed over the target once it is on disk: it
// never goes through an entry already there (a link planted where a partial copy might go) nor
// removes one.
TEST_F(TakeTest, ASaveToAnotherFileSystemCopiesTheTakeAndTouchesNoOtherEntry) {
    const auto frames = record(40000);
    ASSERT_TRUE(stop());
    const OtherFileSystem other(takeFolder_);
    if (other.folder.empty()) GTEST_SKIP() << "no folder on another file system than the take folder";
    std::ofstream(other.folder / "victim") << "victim";
    fs::create_symlink(other.folder / "victim", other.folder / ".murmora-save-planted");
    auto expected = other.entries();
    expected.insert("take.wav");
    ASSERT_FALSE(save(other.folder / "take.wav"));
    EXPECT_EQ(readWav(other.folder / "take.wav"), frames);
    EXPECT_EQ(other.entries(), expected);
    std::string victim;
    std::ifstream(other.folder / "victim") >> victim;
    EXPECT_EQ(victim, "victim");
    EXPECT_TRUE(takeFiles().empty());
}

TEST_F(TakeTest, ACopyThatFillsTheDiskLeavesNothingBehindAndKeepsTheTake) {
    const auto frames = record(40000);
    ASSERT_TRUE(stop());
    const OtherFileSystem other(takeFolder_);
    if (other.folder.empty()) GTEST_SKIP() << "no folder on another file system than the take folder";
    SoundError error;
    {
        FullDisk full;
        error = save(other.folder / "take.wav");
    }
    EXPECT_EQ(error.failure, SoundFailure::notSaved);
    EXPECT_TRUE(other.entries().empty());
    EXPECT_EQ(readWav(takeFiles().at(0)), frames);
    ASSERT_FALSE(save(other.folder / "take.wav"));
    EXPECT_EQ(readWav(other.folder / "take.wav"), frames);
}

TEST_F(TakeTest, ADiscardedTakeLeavesNoFileWhetherItEndedOrNot) {
    for (const bool ended : {true, false}) {
        record(4410);
        if (ended) {
            ASSERT_TRUE(stop());
        }
        engine_->discardTake();
        EXPECT_TRUE(takeFolderEmpties()) << (ended ? "ended" : "recording");
        EXPECT_TRUE(eventually([this] { return backend_->openStreamCount() == 0; }));
    }
}

// What the worker tells of a take comes in the order asked: once a later take's end is told,
// whatever it did for the discarded one is done.
TEST_F(TakeTest, TheEndOfADiscardedTakeIsNotTold) {
    record(4410);
    engine_->stopTake();
    engine_->discardTake();
    record(4410);
    ASSERT_TRUE(stop());
    EXPECT_EQ(ends_.size(), 1u) << "the discarded take's end was told";
}

TEST_F(TakeTest, TheSaveOfADiscardedTakeIsNotTold) {
    record(4410);
    engine_->saveTake((scratch_ / "saved.wav").string(), SaveFormat::wav);
    engine_->discardTake();
    record(4410);
    ASSERT_TRUE(stop());
    EXPECT_TRUE(saves_.empty());
}

// The next start finds it in the take folder and offers it to the user.
TEST_F(TakeTest, ATakeNeitherSavedNorDiscardedStaysForRecoveryWhenTheEngineGoes) {
    for (const bool ended : {true, false}) {
        const auto frames = record(4410);
        if (ended) {
            ASSERT_TRUE(stop());
        }
        makeEngine();
        const auto left = audio::unheldTakes(takeFolder_);
        ASSERT_EQ(left.size(), 1u) << (ended ? "ended" : "recording");
        EXPECT_EQ(readWav(left.at(0)), frames);
        fs::remove(left.at(0));
    }
}

// A take a killed run left is put in the user's folder by the rules of a save: whole, in the
// user's usual mode for new files, never over a file already there; on another file system by a
// copy that leaves nothing partial.
TEST_F(TakeTest, ALeftoverIsRecoveredAsASaveIsPlacedButNeverOverAFile) {
    const OtherFileSystem other(takeFolder_);
    std::vector<fs::path> places{scratch_ / "home"};
    fs::create_directories(places[0]);
    if (!other.folder.empty()) places.push_back(other.folder);
    const auto samples = rampFrames(3000);
    const auto takeFolder = audio::makeTakeFolder(takeFolder_);
    fs::create_directories(takeFolder_);
    for (const fs::path& place : places) {
        SCOPED_TRACE(place);
        const fs::path leftover = takeFolder_ / "take-99999-0.wav";
        writeWav(leftover, samples);
        fs::permissions(leftover, fs::perms::owner_read | fs::perms::owner_write);
        const LeftoverTake take{leftover.string(), 0};
        std::ofstream(place / "there.wav") << "there";
        EXPECT_EQ(takeFolder->recover(take, (place / "there.wav").string()), std::errc::file_exists);
        EXPECT_EQ(readWav(leftover), samples) << "the leftover stays";
        std::string there;
        std::ifstream(place / "there.wav") >> there;
        EXPECT_EQ(there, "there");

        const mode_t before = ::umask(027);
        const std::error_code recovered = takeFolder->recover(take, (place / "recovered.wav").string());
        ::umask(before);
        ASSERT_EQ(recovered, std::error_code()) << recovered.message();
        EXPECT_EQ(readWav(place / "recovered.wav"), samples);
        struct stat info {};
        ASSERT_EQ(::stat((place / "recovered.wav").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0640u);
        EXPECT_FALSE(fs::exists(leftover));
        EXPECT_EQ(filesIn(place).size(), 2u) << "nothing partial beside them";
    }
}

} // namespace
} // namespace murmora::testing
