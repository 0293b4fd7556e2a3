#include "mci_test_support.h"

#include <sndfile.h>

#include <cstdlib>

namespace murmora::mci::testing {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "murmora-mci-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::vector<std::int16_t> rampFrames(std::size_t frames, int channels, std::int16_t start) {
    std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(start + static_cast<std::int16_t>(i % 20000));
    return samples;
}

WavContents readWav(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return {};
    WavContents contents{true, info.samplerate, info.channels,
                         std::vector<std::int16_t>(static_cast<std::size_t>(info.frames * info.channels))};
    contents.samples.resize(static_cast<std::size_t>(
        sf_readf_short(file, contents.samples.data(), info.frames) * info.channels));
    sf_close(file);
    return contents;
}

void writeWav(const fs::path& path, const std::vector<std::int16_t>& samples, int channels, int sampleRate,
              int format) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    sf_writef_short(file, samples.data(), static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels)));
    sf_close(file);
}

ServiceTest::ServiceTest()
    : takeFolder_(scratch_ / "takes"), backend_(new audio::ScriptedBackend),
      service_(std::unique_ptr<audio::AudioBackend>(backend_), takeFolder_) {}

int ServiceTest::send(const std::string& command) {
    char reply[256] = "(untouched)";
    const int result = service_.SendString(command, reply, sizeof reply);
    reply_ = reply;
    return result;
}

void ServiceTest::deliver(const std::vector<std::int16_t>& samples, int channels) {
    constexpr std::size_t kBlockFrames = 441;
    const std::size_t block = kBlockFrames * static_cast<std::size_t>(channels);
    for (std::size_t at = 0; at < samples.size(); at += block)
        ASSERT_TRUE(backend_->deliverCapture(
            std::span(samples).subspan(at, std::min(block, samples.size() - at))));
}

std::vector<fs::path> ServiceTest::takeFiles() const {
    std::vector<fs::path> files;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(takeFolder_, ignored))
        files.push_back(entry.path());
    return files;
}

} // namespace murmora::mci::testing
