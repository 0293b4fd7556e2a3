#pragma once
#include "platform/mci/mci_string_service.h"
#include "platform/mci_service.h"
#include "tests/support/scripted_backend.h"

#include <gtest/gtest.h>
#include <sndfile.hh>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace murmora::mci::testing {
namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
struct ScratchFolder {
    std::string pattern = (fs::temp_directory_path() / "murmora-mci-test-XXXXXX").string();
    fs::path path = ::mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no scratch folder");
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
};

// Frames whose every sample tells where it was in the take (never silent).
inline std::vector<std::int16_t> rampFrames(std::size_t frames, std::int16_t start = 1) {
    std::vector<std::int16_t> samples(frames * 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(start + static_cast<std::int16_t>(i % 20000));
    return samples;
}

// The samples of a 16-bit file; none when libsndfile cannot read it.
inline std::vector<std::int16_t> readWav(const fs::path& path) {
    SndfileHandle file(path.string());
    std::vector<std::int16_t> samples(file.error() ? 0 : static_cast<std::size_t>(file.frames() * file.channels()));
    samples.resize(static_cast<std::size_t>(file.read(samples.data(), static_cast<sf_count_t>(samples.size()))));
    return samples;
}
inline void writeWav(const fs::path& path, const std::vector<std::int16_t>& samples,
                     int format = SF_FORMAT_WAV | SF_FORMAT_PCM_16) {
    SndfileHandle file(path.string(), SFM_WRITE, format, 2, 44100);
    const auto frames = static_cast<sf_count_t>(samples.size() / 2);
    ASSERT_EQ(file.writef(samples.data(), frames), frames) << file.strError();
}

// The service on a scripted backend, with takes in a scratch folder.
class ServiceTest : public ::testing::Test {
protected:
    int send(const std::string& command) {
        char reply[256] = "(untouched)";
        const int result = service_.sendString(command, reply, sizeof reply);
        reply_ = reply;
        return result;
    }
    std::string status(const std::string& aliasAndItem) {
        EXPECT_EQ(send("status " + aliasAndItem), kSuccess) << aliasAndItem;
        return reply_;
    }
    int openFile(const fs::path& path) { return send("open " + path.string() + " type waveaudio alias voice1"); }
    // Delivers stereo frames to the capture stream in device-sized blocks.
    void deliver(const std::vector<std::int16_t>& samples) {
        constexpr std::size_t kBlock = 441 * 2;
        for (std::size_t at = 0; at < samples.size(); at += kBlock)
            ASSERT_TRUE(
                backend_->deliverCapture(std::span(samples).subspan(at, std::min(kBlock, samples.size() - at))));
    }
    std::vector<fs::path> takeFiles() const {
        std::error_code ignored;
        return {fs::directory_iterator(takeFolder_, ignored), fs::directory_iterator()};
    }
    std::vector<std::int16_t> takeSamples() const { return readWav(takeFiles().at(0)); }

    ScratchFolder scratch_;
    fs::path takeFolder_ = scratch_ / "takes";
    audio::ScriptedBackend* backend_ = new audio::ScriptedBackend;
    MciStringService service_{std::unique_ptr<audio::AudioBackend>(backend_), takeFolder_};
    std::string reply_;
};

} // namespace murmora::mci::testing
