#pragma once
#include <filesystem>
#include <functional>
#include <stop_token>
#include <system_error>
#include <vector>

namespace murmora::audio {

// What a finished take can be encoded into; WAV is the take file itself. FLAC at compression
// level 5; Opus at 64 kb/s (variable bit rate, the encoder's default); MP3 at a constant 128 kb/s.
enum class EncodedFormat {
    flac,
    opus,
    mp3
};

// Told on the encoding thread, with the share of the take encoded so far (0 to 1), each time it
// has grown by a thousandth.
using EncodeProgress = std::function<void(double done)>;

// The formats encodeTake() writes in this build: all three, on Linux and on Windows.
std::vector<EncodedFormat> encodableFormats();

// Encodes the 16-bit WAV take at `take` into `target`, on the calling thread. The take is only
// read. The encoding is written into a hidden file beside the target that replaces it only once
// it is complete and on disk; on failure or cancel that file is removed and the target stays as
// it was, and should the program end meanwhile, the next look for leftover takes in the take's
// folder removes it (takefs::createPartialOutput). Fails with the system's reason (a full disk: std::errc::no_space_on_device on Linux,
// ERROR_DISK_FULL on Windows), std::errc::no_such_file_or_directory when there is no take,
// AudioError::notWav when the take cannot be read, AudioError::encoderFailed when the encoder
// refuses it, or std::errc::operation_canceled once `cancel` was requested (from any thread).
std::error_code encodeTake(const std::filesystem::path& take, const std::filesystem::path& target, EncodedFormat format,
                           std::stop_token cancel = {}, const EncodeProgress& progress = {});

} // namespace murmora::audio
