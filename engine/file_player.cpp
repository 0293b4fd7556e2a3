#include "engine/file_player.h"

#include "engine/take_file_system.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <system_error>

namespace murmora::audio {
namespace {

// The reader tops the ring up once a second: each wake costs more than the frames it moves, and
// the output takes up to about a second at a time (the sound server's requests), so the ring
// holds three.
constexpr int kRingSeconds = 3;
constexpr std::size_t kChunkFrames = 4096;
constexpr auto kReaderPeriod = std::chrono::seconds(1);
// Beyond what any sound card plays; a header claiming more is damaged, and believing it would
// size the ring at gigabytes.
constexpr int kMaxSampleRate = 384000;
constexpr int kMaxChannels = 8;

bool isWaveContainer(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_W64:
        return true;
    default:
        return false;
    }
}

// A container whose sound is compressed: its length in bytes is that of the file.
bool isCompressedContainer(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_FLAC:
    case SF_FORMAT_OGG:
    case SF_FORMAT_MPEG:
        return true;
    default:
        return false;
    }
}

bool isPlayable(const SF_INFO& info, PlayableFiles files) {
    const bool container =
        isWaveContainer(info.format) || (files == PlayableFiles::sound && isCompressedContainer(info.format));
    return container && info.channels >= 1 && info.channels <= kMaxChannels && info.samplerate >= 1 &&
           info.samplerate <= kMaxSampleRate;
}

bool isFloatingPoint(int format) {
    const int subtype = format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
}

int bytesPerStoredSample(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_ULAW:
    case SF_FORMAT_ALAW:
        return 1;
    case SF_FORMAT_PCM_24:
        return 3;
    case SF_FORMAT_PCM_32:
    case SF_FORMAT_FLOAT:
        return 4;
    case SF_FORMAT_DOUBLE:
        return 8;
    default:
        return 2;
    }
}

} // namespace

Result<std::unique_ptr<FilePlayer>> FilePlayer::open(AudioBackend& backend, const std::filesystem::path& path,
                                                     PlayableFiles files) {
    std::error_code statError;
    if (!std::filesystem::is_regular_file(path, statError))
        return std::make_error_code(std::errc::no_such_file_or_directory);
    SF_INFO info{};
    SNDFILE* file = takefs::openSoundFile(path, SFM_READ, &info);
    if (file && !isPlayable(info, files)) {
        sf_close(file); // read only: nothing is lost whatever it answers
        file = nullptr;
    }
    if (!file) return files == PlayableFiles::wave ? AudioError::notWav : AudioError::notSound;
    const StreamFormat format{info.samplerate, info.channels};
    std::optional<std::int64_t> compressedBytes;
    if (isCompressedContainer(info.format)) {
        const auto size = std::filesystem::file_size(path, statError);
        if (!statError) compressedBytes = static_cast<std::int64_t>(size);
    }
    std::unique_ptr<FilePlayer> player(new FilePlayer(file, format, info.frames, info.format, compressedBytes));
    // The output asks for its first frames as soon as it opens: have them ready.
    const bool moreToRead = player->fillRing();
    auto stream = backend.openPlayback(format, *player);
    if (!stream) return stream.error();
    player->stream_ = std::move(*stream);
    if (moreToRead) player->reader_ = std::thread([p = player.get()] { p->readUntilEnd(); });
    return player;
}

FilePlayer::FilePlayer(SNDFILE* file, const StreamFormat& format, std::int64_t frames, int fileFormat,
                       std::optional<std::int64_t> compressedBytes)
    : file_(file), format_(format), frames_(frames), bytesPerSample_(bytesPerStoredSample(fileFormat)),
      compressedBytes_(compressedBytes),
      ring_(static_cast<std::size_t>(format.sampleRate) * kRingSeconds, static_cast<std::size_t>(format.channels)),
      chunk_(kChunkFrames * static_cast<std::size_t>(format.channels)),
      floatChunk_(isFloatingPoint(fileFormat) ? chunk_.size() : 0) {}

FilePlayer::~FilePlayer() {
    stream_.reset();
    if (reader_.joinable()) {
        {
            Lock lock(wakeMutex_);
            closing_ = true;
        }
        wake_.notify_one();
        reader_.join();
    }
    sf_close(file_); // read only: nothing is lost whatever it answers
}

std::error_code FilePlayer::play() {
    if (playing()) return {};
    switch (stream_->state()) {
    case StreamState::lost:
        return AudioError::deviceFailed;
    case StreamState::ended:
        return {}; // at the end of the file: nothing more to play
    default:
        break;
    }
    const std::error_code error = stream_->start();
    started_ = !error;
    return error;
}

std::error_code FilePlayer::stop() {
    started_ = false;
    return stream_->stop();
}

bool FilePlayer::playing() const { return started_ && stream_->state() == StreamState::running; }

void FilePlayer::onStreamEnded(StreamState) noexcept {
    if (onEnded_) onEnded_();
}

std::size_t FilePlayer::onPlayback(std::int16_t* samples, std::size_t frames, bool& last) noexcept {
    const bool fileRead = fileRead_.load(std::memory_order_acquire); // before the read: no frame is missed
    const std::size_t got = ring_.read(samples, frames);
    last = fileRead && got < frames;
    return got;
}

bool FilePlayer::fillRing() {
    const auto channels = static_cast<std::size_t>(format_.channels);
    for (;;) {
        if (pending_ == 0) {
            pending_ = readChunk();
            offset_ = 0;
            if (pending_ == 0) {
                fileRead_.store(true, std::memory_order_release);
                return false;
            }
        }
        const std::size_t moved = ring_.write(chunk_.data() + offset_ * channels, pending_);
        pending_ -= moved;
        offset_ += moved;
        if (pending_ > 0) return true; // ring full: wait for the device to play some
    }
}

// Played as 16-bit, the way takes are recorded. Floating-point samples are converted here, full
// scale at 1.0 and clipped beyond: libsndfile converts them to whole numbers only when told to
// scale them by the file's peak, and reads the whole file to find it when its header does not say.
std::size_t FilePlayer::readChunk() {
    if (floatChunk_.empty()) return static_cast<std::size_t>(sf_readf_short(file_, chunk_.data(), kChunkFrames));
    const auto frames = static_cast<std::size_t>(sf_readf_float(file_, floatChunk_.data(), kChunkFrames));
    const auto end =
        floatChunk_.begin() + static_cast<std::ptrdiff_t>(frames * static_cast<std::size_t>(format_.channels));
    std::transform(floatChunk_.begin(), end, chunk_.begin(), [](float sample) {
        return static_cast<std::int16_t>(std::clamp(std::lrint(sample * 32768.0f), -32768L, 32767L));
    });
    return frames;
}

void FilePlayer::readUntilEnd() {
    Lock lock(wakeMutex_);
    while (!closing_) {
        lock.unlock();
        if (!fillRing()) return;
        lock.lock();
        const auto lookAt = std::chrono::steady_clock::now() + kReaderPeriod;
        while (!closing_ && lock.waitUntil(wake_, lookAt)) {}
    }
}

} // namespace murmora::audio
