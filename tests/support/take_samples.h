#pragma once
// What the engine's and the command language's tests share: a scratch folder, frames that tell
// where they were in a take, WAV files written and read back, a disk that fills, and frames
// delivered to the scripted backend as a device delivers them.
#include "tests/support/scripted_backend.h"

#include <gtest/gtest.h>
#include <sndfile.hh>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace murmora::testing {
namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
struct ScratchFolder {
    std::string pattern = (fs::temp_directory_path() / "murmora-engine-test-XXXXXX").string();
    fs::path path = ::mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no scratch folder");
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path operator/(const std::string& name) const { return path / name; }
};

// Stereo frames whose every sample tells where it was in the take (never silent).
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

// The files in `folder`; none when it does not exist.
inline std::vector<fs::path> filesIn(const fs::path& folder) {
    std::error_code ignored;
    return {fs::directory_iterator(folder, ignored), fs::directory_iterator()};
}

// Lowers the largest file this process may write (64 KiB unless told), as a disk that fills
// does, until it goes.
struct FullDisk {
    rlimit saved{};
    explicit FullDisk(rlim_t bytes = 64 * 1024) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit limited{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &saved); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;
};

// Delivers stereo frames to the running capture stream in blocks of 10 ms, as a device does.
inline void deliver(audio::ScriptedBackend& backend, std::span<const std::int16_t> samples) {
    constexpr std::size_t kBlock = 441 * 2;
    for (std::size_t at = 0; at < samples.size(); at += kBlock)
        ASSERT_TRUE(backend.deliverCapture(samples.subspan(at, std::min(kBlock, samples.size() - at))))
            << "no capture stream runs";
}

} // namespace murmora::testing
