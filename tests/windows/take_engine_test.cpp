// The take engine's files on Windows against the real calls (under Wine in CI): the save by
// rename and by copy to another drive, the lock that tells a live take from a leftover, the take
// folder, and a live take read by another program while it records (from the test run's sound
// server, through WASAPI).
#include "engine/capture_recorder.h"
#include "engine/disk_take_folder.h"
#include "engine/take_file.h"
#include "engine/utf8_path.h"
#include "engine/backends/wasapi_backend.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

namespace murmora::audio {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A folder of its own for each test on the given drive's temporary folder, removed afterwards.
struct ScratchFolder {
    fs::path path;
    explicit ScratchFolder(const fs::path& base = fs::temp_directory_path())
        : path(base / (L"murmora-engine-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(GetTickCount64()))) {
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// A folder on another file system than the temporary folder's: Wine's Z: drive shows the Linux
// tree, and /dev/shm is a memory file system of its own.
std::optional<fs::path> otherDrive() {
    const fs::path shm = L"Z:\\dev\\shm";
    std::error_code error;
    return fs::is_directory(shm, error) ? std::optional(shm) : std::nullopt;
}

std::vector<std::int16_t> rampFrames(std::size_t frames) {
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(1 + i % 20000);
    return samples;
}

struct Sound {
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};

Sound readWav(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_wchar_open(path.c_str(), SFM_READ, &info);
    if (!file) return {};
    Sound sound{info.samplerate, info.channels,
                std::vector<std::int16_t>(static_cast<std::size_t>(info.frames * info.channels))};
    sound.samples.resize(static_cast<std::size_t>(sf_readf_short(file, sound.samples.data(), info.frames)) *
                         static_cast<std::size_t>(info.channels));
    sf_close(file);
    return sound;
}

// The identity of the file at `path` on its volume: the same after a rename, another for a copy.
std::uint64_t fileIdentity(const fs::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    BY_HANDLE_FILE_INFORMATION information{};
    const bool read = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    return read ? (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow : 0;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::error_code ignored;
    return {fs::directory_iterator(folder, ignored), fs::directory_iterator()};
}

std::unique_ptr<TakeFile> takeOf(const fs::path& folder, const std::vector<std::int16_t>& samples) {
    auto take = TakeFile::create(folder, {});
    EXPECT_TRUE(take) << take.error().message();
    if (!take) return nullptr;
    EXPECT_EQ((*take)->append(samples.data(), samples.size() / 2), std::error_code());
    return std::move(*take);
}

TEST(TakeSave, RenamesOnTheSameDriveAndCopiesToAnotherReplacingTheTargetWithTheWholeTake) {
    const auto other = otherDrive();
    if (!other) GTEST_SKIP() << "no folder on another file system (Z:\\dev\\shm)";
    ScratchFolder here;
    ScratchFolder elsewhere(*other);
    const auto samples = rampFrames(30000);
    struct Case {
        fs::path target;
        bool renamed;
    };
    const fs::path takes = here.path / L"takes";
    fs::create_directory(here.path / L"saved");
    for (const auto& [target, renamed] : {Case{here.path / L"saved" / L"saved here.wav", true},
                                          Case{elsewhere.path / L"saved \u00e9lsewhere.wav", false}}) {
        std::ofstream(target) << "an earlier file, replaced";
        auto take = takeOf(takes, samples);
        ASSERT_TRUE(take);
        const std::uint64_t identity = fileIdentity(take->path());
        ASSERT_EQ(take->placeAt(target), std::error_code()) << target;
        EXPECT_EQ(take->path(), target);
        EXPECT_EQ(readWav(target).samples, samples) << target;
        EXPECT_EQ(fileIdentity(target) == identity, renamed) << target;
        EXPECT_EQ(filesIn(target.parent_path()).size(), 1u) << "a partial copy was left beside " << target;
        take.reset(); // Windows removes a file that is still open once it is closed
        EXPECT_TRUE(filesIn(takes).empty()) << target;
        EXPECT_TRUE(fs::exists(target)) << "a placed take stays when it closes";
        fs::remove(target);
    }
}

TEST(TakeSave, AFailedSaveKeepsTheTakeWhereItWasForTheNextTry) {
    ScratchFolder here;
    const auto samples = rampFrames(5000);
    auto take = takeOf(here.path / L"takes", samples);
    ASSERT_TRUE(take);
    const fs::path live = take->path();
    EXPECT_NE(take->placeAt(here.path / L"no such folder" / L"take.wav"), std::error_code());
    EXPECT_EQ(take->path(), live);
    EXPECT_EQ(readWav(live).samples, samples);
    if (const auto other = otherDrive()) {
        ScratchFolder elsewhere(*other);
        const fs::path folderInTheWay = elsewhere.path / L"a folder.wav";
        fs::create_directory(folderInTheWay);
        EXPECT_NE(take->placeAt(folderInTheWay), std::error_code());
        EXPECT_EQ(filesIn(elsewhere.path), std::vector<fs::path>{folderInTheWay}) << "the partial copy stayed";
        EXPECT_EQ(readWav(live).samples, samples);
    }
    ASSERT_EQ(take->placeAt(here.path / L"at last.wav"), std::error_code());
    EXPECT_EQ(readWav(here.path / L"at last.wav").samples, samples);
}

// The engine's probe, beside this test program, holding a take of its own.
class TakeHolder {
public:
    explicit TakeHolder(const fs::path& folder) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring line = L"\"" + (fs::path(self).parent_path() / L"engine_probe.exe").wstring() + L"\" hold \"" +
                            folder.wstring() + L"\"";
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE childOut = nullptr;
        HANDLE childIn = nullptr;
        CreatePipe(&out_, &childOut, &inherited, 0);
        CreatePipe(&childIn, &in_, &inherited, 0);
        SetHandleInformation(out_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(in_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childIn;
        startup.hStdOutput = childOut;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        started_ =
            CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_);
        CloseHandle(childOut);
        CloseHandle(childIn);
        std::string said;
        char c = 0;
        DWORD got = 0;
        while (started_ && ReadFile(out_, &c, 1, &got, nullptr) && got == 1 && c != '\n')
            said += c;
        while (!said.empty() && said.back() == '\r')
            said.pop_back();
        take_ = fs::path(std::u8string(said.begin(), said.end()));
    }
    ~TakeHolder() {
        CloseHandle(in_);
        CloseHandle(out_);
        if (!started_) return;
        WaitForSingleObject(process_.hProcess, 10000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    const fs::path& take() const { return take_; }
    // Ends the holder as a crash or a kill would: its take stays, and its lock goes.
    void kill() {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }

private:
    HANDLE in_ = nullptr;
    HANDLE out_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
    fs::path take_;
};

TEST(LeftoverTakes, ATakeAnotherProgramHoldsIsNoLeftoverUntilThatProgramEnds) {
    ScratchFolder here;
    const fs::path takes = here.path / L"takes";
    TakeHolder holder(takes);
    ASSERT_FALSE(holder.take().empty()) << "the holder made no take";
    ASSERT_TRUE(fs::exists(holder.take()));
    const fs::path copy = takes / L"take-99999-0.wav";
    fs::copy_file(holder.take(), copy);
    auto own = TakeFile::create(takes, {});
    ASSERT_TRUE(own);
    EXPECT_EQ(unheldTakes(takes), std::vector<fs::path>{copy});
    holder.kill();
    auto leftovers = unheldTakes(takes);
    std::sort(leftovers.begin(), leftovers.end());
    std::vector<fs::path> expected{holder.take(), copy};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(leftovers, expected);
}

std::string textOf(const fs::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A take a killed run left goes whole to the user's folder, or to another drive by a copy, and
// never over a file that is there.
TEST(LeftoverTakes, ARecoveryGoesWholeHereOrToAnotherDriveButNeverOverAFile) {
    ScratchFolder here;
    const fs::path takes = here.path / L"takes";
    fs::create_directories(takes);
    std::vector<fs::path> places{here.path};
    const auto other = otherDrive();
    std::optional<ScratchFolder> elsewhere;
    if (other) places.push_back(elsewhere.emplace(*other).path);
    const auto samples = rampFrames(3000);
    const auto takeFolder = makeTakeFolder(takes);
    for (const fs::path& place : places) {
        SCOPED_TRACE(place.string());
        takeOf(takes, samples)->keepForRecovery();
        const auto left = takeFolder->leftovers();
        ASSERT_EQ(left.size(), 1u);
        std::ofstream(place / L"there.wav") << "there";
        EXPECT_EQ(takeFolder->recover(left[0], utf8Of(place / L"there.wav")), std::errc::file_exists);
        EXPECT_EQ(textOf(place / L"there.wav"), "there");
        ASSERT_EQ(takeFolder->recover(left[0], utf8Of(place / L"recovered.wav")), std::error_code());
        EXPECT_EQ(readWav(place / L"recovered.wav").samples, samples);
        EXPECT_TRUE(filesIn(takes).empty());
    }
}

TEST(TakeFolder, IsInTheUsersLocalApplicationData) {
    wchar_t local[MAX_PATH];
    ASSERT_NE(GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH), 0u);
    EXPECT_EQ(defaultTakeFolder(), fs::path(local) / L"Murmora" / L"takes");
}

// A drive mounted at a folder (Wine: a Linux mount point, such as /dev/shm) is a reparse point
// that stays where it is: a take folder like any other. A file is no folder, and says so.
TEST(TakeFolder, AMountedDriveTakesTakesAndAFileIsRefusedAsNoFolder) {
    const auto mounted = otherDrive();
    if (!mounted) GTEST_SKIP() << "no Z:\\dev\\shm";
    ASSERT_TRUE(GetFileAttributesW(mounted->c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    const auto take = TakeFile::create(*mounted, {});
    EXPECT_TRUE(take) << take.error().message();

    ScratchFolder here;
    std::ofstream(here.path / L"file") << "x";
    const auto refused = TakeFile::create(here.path / L"file", {});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message(), "it is not a folder");
}

// Through the test run's sound server: another program copies the take while it records, and
// the copy is a WAV file that holds what the take had at its last header, a second at most ago.
TEST(LiveTake, ACopyMadeWhileItRecordsIsAReadableWavOfWhatWasRecorded) {
    ScratchFolder here;
    const auto backend = makeWasapiBackend();
    auto opened = CaptureRecorder::open(*backend, here.path / L"takes", {});
    ASSERT_TRUE(opened) << opened.error().message();
    CaptureRecorder& recorder = **opened;
    ASSERT_EQ(recorder.record(), std::error_code());
    std::this_thread::sleep_for(2500ms);
    const auto live = filesIn(here.path / L"takes");
    ASSERT_EQ(live.size(), 1u);
    const fs::path copy = here.path / L"copy.wav";
    ASSERT_TRUE(CopyFileW(live[0].c_str(), copy.c_str(), TRUE)) << GetLastError();
    const std::int64_t recorded = recorder.lengthFrames();
    ASSERT_EQ(recorder.stop(), std::error_code());
    const Sound read = readWav(copy);
    EXPECT_EQ(read.sampleRate, 44100);
    EXPECT_EQ(read.channels, 2);
    const auto frames = static_cast<std::int64_t>(read.samples.size() / 2);
    EXPECT_GE(frames, recorded - 2 * 44100) << "the header was not kept current";
    EXPECT_LE(frames, recorded);
    EXPECT_LE(static_cast<std::uintmax_t>(frames) * 4, fs::file_size(copy));
}

} // namespace
} // namespace murmora::audio
