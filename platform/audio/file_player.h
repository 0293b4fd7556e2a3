#pragma once
#include "platform/audio/audio_backend.h"
#include "platform/audio/spsc_ring.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace murmora::audio {

// Plays one WAV file on the default output. A reader thread moves frames from the file into a
// ring; the audio callback only copies them out.
class FilePlayer final : private PlaybackSource {
public:
    enum class OpenError { none, notFound, notWav, noDevice };
    static std::unique_ptr<FilePlayer> open(AudioBackend& backend, const std::filesystem::path& path,
                                            OpenError& error);
    ~FilePlayer();
    FilePlayer(const FilePlayer&) = delete;
    FilePlayer& operator=(const FilePlayer&) = delete;

    // Starts (or resumes) playing and returns at once; false when the device will not start.
    bool play();
    // Ends playing at once; a later play() resumes where it stopped.
    void stop();
    // True from play() until the last frame has been played, or until stop().
    bool playing() const;

    std::int64_t frames() const { return frames_; }
    int sampleRate() const { return format_.sampleRate; }
    // Bytes one frame takes in the file.
    int bytesPerFrame() const { return format_.channels * bytesPerSample_; }

private:
    FilePlayer(SNDFILE* file, const StreamFormat& format, std::int64_t frames, int bytesPerSample);
    bool onPlayback(float* samples, std::size_t frames) noexcept override;
    void readUntilEnd();

    SNDFILE* file_;
    StreamFormat format_;
    std::int64_t frames_;
    int bytesPerSample_;
    SpscRing<float> ring_;
    std::unique_ptr<AudioStream> stream_;
    bool started_ = false;
    std::atomic<bool> fileRead_{false};     // the reader has put the last frame into the ring
    std::atomic<bool> lastFramePlayed_{false};
    std::thread reader_;
    std::mutex wakeMutex_;
    std::condition_variable wake_;
    bool closing_ = false;
};

} // namespace murmora::audio
