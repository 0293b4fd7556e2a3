#pragma once
// Encoded takes decoded by other programs, as a user's player would read them: sox for FLAC and
// MP3 (its MP3 reader is libmad), opusdec for Opus.
#include "engine/take_encoder.h"
#include "tests/support/tone_measure.h"

#include <sndfile.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace murmora::testing {

// What libmad decodes before the take's first frame in an MP3 file: the frame that holds LAME's
// header (1152 frames of silence) and LAME's encoder delay (576). The padding of the last frame
// follows the take: less than 1152 frames, 26 ms.
inline constexpr sf_count_t kMp3Delay = 1152 + 576;

struct Decoded : ToneMeasure {
    sf_count_t frames = 0;
};

inline std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// A folder of its own for each test, in /var/tmp for takes of a minute, with a small file system
// mounted in it where this test may mount one; both go afterwards.
class EncodingFolder {
public:
    EncodingFolder() {
        std::string pattern = "/var/tmp/murmora-encoding-test.XXXXXX";
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
        path = pattern;
    }
    ~EncodingFolder() {
        if (mounted_) static_cast<void>(std::system(("umount --lazy " + quoted(*mounted_)).c_str()));
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    EncodingFolder(const EncodingFolder&) = delete;
    EncodingFolder& operator=(const EncodingFolder&) = delete;

    // A folder on a 64 KiB file system, which an encoding fills; empty where none can be mounted.
    std::filesystem::path smallDisk() {
        const std::filesystem::path folder = path / "small";
        std::filesystem::create_directory(folder);
        if (std::system(("mount -t tmpfs -o size=64k murmora-small " + quoted(folder) + " 2>/dev/null").c_str()) != 0)
            return {};
        mounted_ = folder;
        return folder;
    }

    std::filesystem::path path;

private:
    std::optional<std::filesystem::path> mounted_;
};

// Decodes `encoded` to a 44.1 kHz WAV file at `wav` and measures its first channel.
inline Decoded decode(const std::filesystem::path& encoded, audio::EncodedFormat format,
                      const std::filesystem::path& wav) {
    const std::string command = format == audio::EncodedFormat::opus
                                    ? "opusdec --quiet --rate 44100 " + quoted(encoded) + " " + quoted(wav)
                                    : "sox " + quoted(encoded) + " " + quoted(wav) + " 2>/dev/null";
    Decoded decoded;
    SF_INFO info{};
    SNDFILE* file = std::system(command.c_str()) == 0 ? sf_open(wav.c_str(), SFM_READ, &info) : nullptr;
    if (!file) return decoded;
    std::vector<double> frames(static_cast<std::size_t>(info.frames * info.channels));
    decoded.frames = sf_readf_double(file, frames.data(), info.frames);
    sf_close(file);
    for (std::size_t i = 0; i < frames.size(); i += static_cast<std::size_t>(info.channels))
        decoded.samples.push_back(frames[i]);
    decoded.rate = info.samplerate;
    return decoded;
}

// Whether `decoded` holds as many frames as the take of `takeFrames` it was encoded from: FLAC to
// the frame; Opus and MP3 within 50 ms once the encoder's delay is left out (opusdec leaves it
// out itself).
inline bool holdsTheTakesLength(const Decoded& decoded, audio::EncodedFormat format, sf_count_t takeFrames) {
    const sf_count_t delay = format == audio::EncodedFormat::mp3 ? kMp3Delay : 0;
    const sf_count_t within = format == audio::EncodedFormat::flac ? 0 : decoded.rate / 20;
    return std::llabs(decoded.frames - delay - takeFrames) <= within;
}

} // namespace murmora::testing
