#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "core/result.h"

namespace murmora::audio {

// Interleaved 16-bit frames at a given rate.
struct StreamFormat {
    int sampleRate = 44100;
    int channels = 2;
};

// The longest any device call may keep its caller waiting for the sound server.
inline constexpr std::chrono::milliseconds kDeviceDeadline{100};
// How long a stream's first frames may take after a start: a device wakes from its sleep, a
// source of the sound server that was idle starts (two seconds on a null sink's monitor, more
// for Wine 10's capture of what an output plays).
inline constexpr std::chrono::seconds kFirstFramesLimit{4};

// Why a device call failed; an error_code of audioCategory(). `notAnswering`: the server did not
// answer within kDeviceDeadline, and the backend finishes or undoes the call by itself once it
// answers again. `noServer`: nothing listens at the server's address.
enum class AudioError {
    deviceFailed = 1,
    noServer,
    notAnswering,
    notWav,   // no WAV file that can be read
    notSound, // no file of a sound format that can be played (WAV, FLAC, Opus, MP3)
    encoderFailed
};
const std::error_category& audioCategory();
// Named as the standard library looks for it, so that an AudioError is an error_code.
std::error_code make_error_code(AudioError error);

// `ended`: a playback stream has played its source's last frame. `lost`: the stream ended
// without being asked to (the server went away, or its device went with nowhere to move it).
enum class StreamState {
    stopped,
    running,
    ended,
    lost
};

// Receives captured frames on the audio thread. Must not block, lock, allocate or touch files.
class CaptureSink {
public:
    virtual void onCaptured(const std::int16_t* samples, std::size_t frames, bool deviceOverflow) noexcept = 0;
    // The stream ended without being asked to (StreamState::lost); called once, on the backend's
    // thread, outside the audio callback. It may take a lock briefly but must not block.
    virtual void onStreamEnded(StreamState /*state*/) noexcept {}

protected:
    ~CaptureSink() = default;
};

// Hands over frames on the audio thread: copies up to `frames` frames into `samples` and returns
// how many; sets `last` once no frame follows those. Same restrictions as CaptureSink.
class PlaybackSource {
public:
    virtual std::size_t onPlayback(std::int16_t* samples, std::size_t frames, bool& last) noexcept = 0;
    // The stream ended by itself: it played the source's last frame (StreamState::ended) or was
    // lost. Called once, as CaptureSink::onStreamEnded.
    virtual void onStreamEnded(StreamState /*state*/) noexcept {}

protected:
    ~PlaybackSource() = default;
};

// An open stream on a device. Destroying it never waits on the server, and once the destructor
// has returned the stream calls its sink or source no more.
class AudioStream {
public:
    virtual ~AudioStream() = default;
    virtual std::error_code start() = 0;
    // Capture: once it succeeds, every frame captured before has reached the sink; when the
    // server does not answer, no frame reaches it after the return. Playback: ends at once,
    // dropping what the device still holds.
    virtual std::error_code stop() = 0;
    // May be read from any thread.
    virtual StreamState state() const = 0;
};

// An input to record from, as the sound server lists it.
struct InputDevice {
    std::string name;         // the server's own name for it, which openCaptureFrom takes
    std::string description;  // for the user; for the sound of an output, that output's description
    bool isDefault = false;   // the server's default input
    bool outputSound = false; // the sound an output plays (its monitor), not a device's input
    bool operator==(const InputDevice&) const = default;
};

// A capture stream, and whether it records from the default input because the input asked for
// is not there.
struct OpenedCapture {
    std::unique_ptr<AudioStream> stream;
    bool defaultInstead = false;
};

// The machine's inputs and outputs. Streams must be destroyed before the backend.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // From the default input.
    virtual Result<std::unique_ptr<AudioStream>> openCapture(const StreamFormat& format, CaptureSink& sink) = 0;
    virtual Result<std::unique_ptr<AudioStream>> openPlayback(const StreamFormat& format, PlaybackSource& source) = 0;
    // The inputs of the machine, devices' inputs first, then the sound of each output. A backend
    // that cannot tell lists none and records from its default input only.
    virtual Result<std::vector<InputDevice>> listInputs() { return std::vector<InputDevice>{}; }
    // From the input that listInputs() named `inputName`, or the default input when that is empty
    // or not there (then `defaultInstead` says so). A stream from a named input is not moved to
    // another when its input goes: it is lost.
    virtual Result<OpenedCapture> openCaptureFrom(const std::string& inputName, const StreamFormat& format,
                                                  CaptureSink& sink) {
        auto stream = openCapture(format, sink);
        if (!stream) return stream.error();
        return OpenedCapture{std::move(*stream), !inputName.empty()};
    }
};

} // namespace murmora::audio

template <>
struct std::is_error_code_enum<murmora::audio::AudioError> : std::true_type {};
