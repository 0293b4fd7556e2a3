#pragma once
#include "platform/audio/scripted_backend.h"
#include "platform/mci/mci_string_service.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace murmora::mci::testing {

// A folder of its own for each test, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Frames whose every sample tells where it was in the take.
std::vector<std::int16_t> rampFrames(std::size_t frames, int channels = 2, std::int16_t start = 1);

struct WavContents {
    bool readable = false;
    int sampleRate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};
WavContents readWav(const std::filesystem::path& path);
void writeWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples, int channels,
              int sampleRate, int format);

// The service on a scripted backend, with takes in a scratch folder.
class ServiceTest : public ::testing::Test {
protected:
    ServiceTest();
    int send(const std::string& command);
    // Delivers frames to the capture stream in device-sized blocks.
    void deliver(const std::vector<std::int16_t>& samples, int channels = 2);
    std::vector<std::filesystem::path> takeFiles() const;

    ScratchFolder scratch_;
    std::filesystem::path takeFolder_;
    audio::ScriptedBackend* backend_;
    MciStringService service_;
    std::string reply_;
};

} // namespace murmora::mci::testing
