#include "engine/backends/backends.h"
#include "engine/backends/portaudio_backend.h"
#include "engine/backends/pulse_backend.h"

namespace murmora::audio {
namespace {

// Asks the sound server first, and PortAudio only when no server listens; a server that is
// there but does not answer is reported as such, never passed over.
class ServerFirstBackend final : public AudioBackend {
public:
    Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) override {
        auto stream = server_->openCapture(format, sink);
        return noServer(stream) ? fallback().openCapture(format, sink) : std::move(stream);
    }
    Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) override {
        auto stream = server_->openPlayback(format, source);
        return noServer(stream) ? fallback().openPlayback(format, source) : std::move(stream);
    }

    Result<std::vector<InputDevice>> listInputs() override {
        auto inputs = server_->listInputs();
        return noServer(inputs) ? fallback().listInputs() : std::move(inputs);
    }
    Result<OpenedCapture> openCaptureFrom(const std::string& inputName, const StreamFormat& format,
                                          CaptureSink& sink) override {
        auto opened = server_->openCaptureFrom(inputName, format, sink);
        return noServer(opened) ? fallback().openCaptureFrom(inputName, format, sink) : std::move(opened);
    }

private:
    template <typename T>
    static bool noServer(const Result<T>& result) {
        return result.error() == AudioError::noServer;
    }
    AudioBackend& fallback() {
        if (!fallback_) fallback_ = makePortAudioBackend();
        return *fallback_;
    }

    std::unique_ptr<AudioBackend> server_ = makePulseBackend();
    std::unique_ptr<AudioBackend> fallback_; // made when first needed: PortAudio's start costs
};

} // namespace

std::unique_ptr<AudioBackend> makeAudioBackend() { return std::make_unique<ServerFirstBackend>(); }

} // namespace murmora::audio
