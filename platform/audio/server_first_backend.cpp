#include "platform/audio/audio_backend.h"
#include "platform/audio/portaudio_backend.h"
#include "platform/audio/pulse_backend.h"

namespace murmora::audio {
namespace {

// Asks the sound server first, and PortAudio only when no server listens; a server that is
// there but does not answer is reported as such, never passed over.
class ServerFirstBackend final : public AudioBackend {
public:
    std::unique_ptr<AudioStream> openCapture(const StreamFormat& format, CaptureSink& sink,
                                             DeviceResult& result) override {
        auto stream = server_->openCapture(format, sink, result);
        return result == DeviceResult::noServer ? fallback().openCapture(format, sink, result) : std::move(stream);
    }
    std::unique_ptr<AudioStream> openPlayback(const StreamFormat& format, PlaybackSource& source,
                                              DeviceResult& result) override {
        auto stream = server_->openPlayback(format, source, result);
        return result == DeviceResult::noServer ? fallback().openPlayback(format, source, result)
                                                : std::move(stream);
    }

private:
    AudioBackend& fallback() {
        if (!fallback_)
            fallback_ = makePortAudioBackend();
        return *fallback_;
    }

    std::unique_ptr<AudioBackend> server_ = makePulseBackend();
    std::unique_ptr<AudioBackend> fallback_; // made when first needed: PortAudio's start costs
};

} // namespace

std::unique_ptr<AudioBackend> makeAudioBackend() { return std::make_unique<ServerFirstBackend>(); }

} // namespace murmora::audio
