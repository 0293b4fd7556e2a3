#include "platform/audio/take_encoder.h"

namespace murmora::audio {

// Windows saves WAV only for now: the encoders come with libopusenc cross-built and partial files
// written through the Windows file calls.
std::vector<EncodedFormat> encodableFormats() { return {}; }

std::error_code encodeTake(const std::filesystem::path&, const std::filesystem::path&, EncodedFormat, std::stop_token,
                           const EncodeProgress&) {
    return std::make_error_code(std::errc::not_supported);
}

} // namespace murmora::audio
