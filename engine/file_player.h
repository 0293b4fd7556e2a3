#pragma once
#include "engine/audio_backend.h"
#include "engine/guarded.h"
#include "engine/spsc_ring.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace murmora::audio {

// The files a player takes: WAV only (RF64 and Wave64 too), or also FLAC, Ogg (Opus, Vorbis) and
// MP3, which libsndfile decodes.
enum class PlayableFiles {
    wave,
    sound
};

// Plays one sound file on the default output. A reader thread moves frames from the file into a
// ring; the audio callback only copies them out.
class FilePlayer final : private PlaybackSource {
public:
    // Fails with errc::no_such_file_or_directory when `path` is no file, AudioError::notWav
    // (PlayableFiles::wave) or notSound when it holds no sound of `files` it can play, or why no
    // stream opened.
    static Result<std::unique_ptr<FilePlayer>> open(AudioBackend& backend, const std::filesystem::path& path,
                                                    PlayableFiles files = PlayableFiles::wave);
    ~FilePlayer();
    FilePlayer(const FilePlayer&) = delete;
    FilePlayer& operator=(const FilePlayer&) = delete;

    // Runs once, on the backend's thread, when the playback ends by itself: once the last frame
    // has been played, or when its output went away. Set before play().
    void setEndedHandler(std::function<void()> handler) { onEnded_ = std::move(handler); }
    // Starts (or resumes) playing and returns at once.
    std::error_code play();
    // Ends playing at once; a later play() resumes where it stopped.
    std::error_code stop();
    // True from play() until the last frame has been played, or until stop() or a loss.
    bool playing() const;
    // True once the output went away in the middle of the file.
    bool lost() const { return stream_->state() == StreamState::lost; }

    std::int64_t frames() const { return frames_; }
    int sampleRate() const { return format_.sampleRate; }
    // Bytes one frame takes in the file.
    int bytesPerFrame() const { return format_.channels * bytesPerSample_; }
    // Bytes its sound takes in the file: of a compressed file, the whole file.
    std::int64_t soundBytes() const { return compressedBytes_ ? *compressedBytes_ : frames_ * bytesPerFrame(); }

private:
    // `fileFormat`: libsndfile's name of the file's format.
    FilePlayer(SNDFILE* file, const StreamFormat& format, std::int64_t frames, int fileFormat,
               std::optional<std::int64_t> compressedBytes);
    std::size_t onPlayback(std::int16_t* samples, std::size_t frames, bool& last) noexcept override;
    void onStreamEnded(StreamState state) noexcept override;
    void readUntilEnd();
    // Moves frames from the file into the ring until it is full or the file has been read;
    // false once the file has been read to its end.
    bool fillRing();
    // Reads up to kChunkFrames frames into chunk_; how many it read.
    std::size_t readChunk();

    SNDFILE* file_;
    StreamFormat format_;
    std::int64_t frames_;
    int bytesPerSample_;
    std::optional<std::int64_t> compressedBytes_; // the file's size, when its sound is compressed
    SpscRing<std::int16_t> ring_;
    std::unique_ptr<AudioStream> stream_;
    bool started_ = false;
    std::atomic<bool> fileRead_{false}; // the reader has put the last frame into the ring
    std::vector<std::int16_t> chunk_;   // the reader's buffer between file and ring
    std::vector<float> floatChunk_;     // for a floating-point file, its samples as read
    std::size_t pending_ = 0;           // frames in chunk_ that did not fit into the ring yet
    std::size_t offset_ = 0;
    std::thread reader_;
    Mutex wakeMutex_; // wakes the reader to end, from the thread that closes the file
    std::condition_variable wake_;
    bool closing_ GUARDED_BY(wakeMutex_) = false;
    std::function<void()> onEnded_;
};

} // namespace murmora::audio
