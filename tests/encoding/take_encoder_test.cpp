// The take encoder against the real libraries, its files read back by other programs: sox for
// FLAC and MP3 (sox's MP3 reader is libmad), opusdec for Opus.
#include "engine/take_encoder.h"
#include "tests/support/decoded_sound.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <numbers>
#include <set>
#include <thread>
#include <vector>

namespace murmora::audio {
namespace {
namespace fs = std::filesystem;
using testing::decode;
using testing::Decoded;

constexpr int kRate = 44100;

// A 16-bit stereo take of a 440 Hz tone at half of full scale (-6 dBFS), like the test microphone.
void writeToneTake(const fs::path& path, double seconds) {
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    std::vector<short> samples(frames * 2);
    for (std::size_t i = 0; i < frames; ++i)
        samples[2 * i] = samples[2 * i + 1] = static_cast<short>(
            std::lround(16384 * std::sin(2 * std::numbers::pi * 440 * static_cast<double>(i) / kRate)));
    sf_writef_short(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct FormatCase {
    EncodedFormat format;
    const char* extension;
};

class TakeEncoderTest : public ::testing::TestWithParam<FormatCase> {
protected:
    fs::path target(const fs::path& folder) const { return folder / (std::string("saved.") + GetParam().extension); }
    static std::vector<fs::path> entries(const fs::path& folder) {
        return {fs::directory_iterator(folder), fs::directory_iterator()};
    }

    testing::EncodingFolder folder_;
    const fs::path& work_ = folder_.path;
    const fs::path take_ = work_ / "take.wav";
};

TEST_P(TakeEncoderTest, TheFileDecodesToTheTakesToneAndLength) {
    writeToneTake(take_, 5);
    const fs::path saved = target(work_);
    ASSERT_EQ(encodeTake(take_, saved, GetParam().format), std::error_code());
    const Decoded decoded = decode(saved, GetParam().format, work_ / "decoded.wav");
    EXPECT_GT(decoded.shareAt(440), 0.9);
    EXPECT_NEAR(decoded.rms(), 0.5 / std::sqrt(2.0), 0.035);
    EXPECT_TRUE(testing::holdsTheTakesLength(decoded, GetParam().format, 5 * kRate)) << decoded.frames << " frames";
    EXPECT_EQ(entries(work_).size(), 3u) << "the take, the file and its decoding, nothing partial";
}

TEST_P(TakeEncoderTest, ProgressGrowsToTheWholeTakeInThousandthsAtMost) {
    writeToneTake(take_, 3);
    std::vector<double> told;
    ASSERT_EQ(encodeTake(take_, target(work_), GetParam().format, {}, [&told](double done) { told.push_back(done); }),
              std::error_code());
    ASSERT_FALSE(told.empty());
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_GT(told.front(), 0);
    EXPECT_DOUBLE_EQ(told.back(), 1.0);
    EXPECT_LE(told.size(), 1001u);
}

TEST_P(TakeEncoderTest, AFullDiskFailsWithItsReasonKeepsTheTakeAndLeavesTheTargetAsItWas) {
    const fs::path disk = folder_.smallDisk();
    if (disk.empty()) {
        if (std::getenv("CI")) FAIL() << "a small tmpfs could not be mounted";
        GTEST_SKIP() << "a small tmpfs cannot be mounted here (not root)";
    }
    writeToneTake(take_, 30);
    const std::string take = contentOf(take_);
    const fs::path saved = target(disk);
    std::ofstream(saved) << "kept";
    const std::error_code error = encodeTake(take_, saved, GetParam().format);
    EXPECT_EQ(error, std::errc::no_space_on_device);
    EXPECT_EQ(error.message(), "No space left on device");
    EXPECT_EQ(contentOf(take_), take);
    EXPECT_EQ(contentOf(saved), "kept");
    EXPECT_EQ(entries(disk).size(), 1u) << "nothing partial is left";
}

TEST_P(TakeEncoderTest, ACancelFromAnotherThreadKeepsTheTakeAndLeavesNothing) {
    writeToneTake(take_, 60);
    const std::string take = contentOf(take_);
    std::mutex mutex;
    std::condition_variable wake;
    bool underway = false;
    std::stop_source cancel;
    std::thread canceller([&] {
        std::unique_lock lock(mutex);
        wake.wait(lock, [&] { return underway; });
        cancel.request_stop();
    });
    double lastDone = 0;
    const std::error_code error =
        encodeTake(take_, target(work_), GetParam().format, cancel.get_token(), [&](double done) {
            lastDone = done;
            const std::lock_guard lock(mutex);
            if (done >= 0.2 && !underway) {
                underway = true;
                wake.notify_one();
            }
        });
    canceller.join();
    EXPECT_EQ(error, std::errc::operation_canceled);
    EXPECT_LT(lastDone, 1.0) << "the cancel came too late to test";
    EXPECT_EQ(contentOf(take_), take);
    EXPECT_EQ(entries(work_), std::vector<fs::path>{take_});
}

// The serial number of the Ogg stream in the file's first page.
std::uint32_t oggSerialOf(const fs::path& path) {
    const std::string content = contentOf(path);
    if (content.size() < 18 || content.compare(0, 4, "OggS") != 0) return 0;
    std::uint32_t serial = 0;
    for (int i = 17; i >= 14; --i)
        serial = serial << 8 | static_cast<unsigned char>(content[static_cast<std::size_t>(i)]);
    return serial;
}

// Each run of the program starts rand() from the same seed: the serials must not come from it.
TEST(OpusTakes, EachCarriesAnOggStreamOfItsOwn) {
    testing::EncodingFolder folder;
    const fs::path take = folder.path / "take.wav";
    writeToneTake(take, 0.5);
    std::set<std::uint32_t> serials;
    for (int run = 0; run < 3; ++run) {
        std::srand(1);
        const fs::path saved = folder.path / ("take" + std::to_string(run) + ".opus");
        ASSERT_EQ(encodeTake(take, saved, EncodedFormat::opus), std::error_code());
        serials.insert(oggSerialOf(saved));
    }
    EXPECT_FALSE(serials.contains(0));
    EXPECT_EQ(serials.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Formats, TakeEncoderTest,
                         ::testing::Values(FormatCase{EncodedFormat::flac, "flac"},
                                           FormatCase{EncodedFormat::opus, "opus"},
                                           FormatCase{EncodedFormat::mp3, "mp3"}),
                         [](const auto& info) { return std::string(info.param.extension); });

} // namespace
} // namespace murmora::audio
