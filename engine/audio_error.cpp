#include "engine/audio_backend.h"

#include "core/texts.h"

namespace murmora::audio {

namespace {

class AudioCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "audio"; }
    std::string message(int error) const override {
        switch (static_cast<AudioError>(error)) {
        case AudioError::deviceFailed:
            return translated("the sound device could not be opened or started");
        case AudioError::noServer:
            return translated("no sound server runs");
        case AudioError::notAnswering:
            return translated("the sound server does not answer");
        case AudioError::notWav:
            return translated("the file is no WAV file that can be read");
        case AudioError::notSound:
            return translated("the file is no sound file that can be played");
        case AudioError::encoderFailed:
            return translated("the encoder refused the sound");
        }
        return translated("unknown audio error");
    }
};

} // namespace

const std::error_category& audioCategory() {
    static const AudioCategory category;
    return category;
}

std::error_code make_error_code(AudioError error) { return {static_cast<int>(error), audioCategory()}; }

} // namespace murmora::audio
