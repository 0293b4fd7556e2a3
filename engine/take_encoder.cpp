#include "engine/take_encoder.h"

#include "engine/audio_backend.h"
#include "engine/take_file_system.h"

#include <opusenc.h>
#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

constexpr sf_count_t kChunkFrames = 8192;
constexpr double kFlacLevel = 5.0 / 8.0; // libsndfile's 0 to 1 over FLAC's levels 0 to 8
// libsndfile gives MPEG-1 a constant bit rate of 320 - level x 288 kb/s: 128 kb/s here, a
// little past the exact level so that its rounding down cannot make it 127.
constexpr double kMp3Level = (320.0 - 128.5) / 288.0;
constexpr opus_int32 kOpusBitsPerSecond = 64'000;

// The partial file as the encoders write it: each write goes to the disk's file in full or
// keeps the system's reason, which libsndfile and libopusenc would not pass on.
class OutputFile {
public:
    explicit OutputFile(takefs::PartialOutput& file) : file_(file) {}
    const std::error_code& error() const { return error_; }

    std::size_t write(const void* data, std::size_t bytes) {
        if (!error_) error_ = file_.write(data, bytes);
        return error_ ? 0 : bytes;
    }
    sf_count_t read(void* data, sf_count_t bytes) {
        const std::int64_t got = file_.read(data, bytes);
        return got < 0 ? 0 : got;
    }
    sf_count_t seek(sf_count_t offset, int whence) { return file_.seek(offset, whence); }
    sf_count_t length() const { return file_.length(); }

private:
    takefs::PartialOutput& file_;
    std::error_code error_;
};

// Takes the take's frames, 16-bit interleaved, and writes them in the chosen format.
class FrameEncoder {
public:
    virtual ~FrameEncoder() = default;
    virtual bool write(const std::int16_t* samples, std::size_t frames) = 0;
    // Writes what the encoder still holds and the file's closing parts.
    virtual bool finish() = 0;
};

// FLAC and MP3 through libsndfile. Frames go in as full-scale ints: exact for FLAC, and
// libsndfile's 16-bit stereo path to its MP3 encoder copies only half of each block.
class SndfileEncoder final : public FrameEncoder {
public:
    static std::unique_ptr<SndfileEncoder> open(OutputFile& output, const SF_INFO& take, EncodedFormat format) {
        SF_INFO info{};
        info.samplerate = take.samplerate;
        info.channels = take.channels;
        info.format = format == EncodedFormat::flac ? SF_FORMAT_FLAC | SF_FORMAT_PCM_16
                                                    : SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        if (!sf_format_check(&info)) return nullptr;
        static SF_VIRTUAL_IO io{
            [](void* file) { return static_cast<OutputFile*>(file)->length(); },
            [](sf_count_t offset, int whence, void* file) {
                return static_cast<OutputFile*>(file)->seek(offset, whence);
            },
            [](void* data, sf_count_t bytes, void* file) { return static_cast<OutputFile*>(file)->read(data, bytes); },
            [](const void* data, sf_count_t bytes, void* file) {
                return static_cast<sf_count_t>(
                    static_cast<OutputFile*>(file)->write(data, static_cast<std::size_t>(bytes)));
            },
            [](void* file) { return static_cast<OutputFile*>(file)->seek(0, SEEK_CUR); }};
        SNDFILE* file = sf_open_virtual(&io, SFM_WRITE, &info, &output);
        if (!file) return nullptr;
        auto encoder = std::unique_ptr<SndfileEncoder>(new SndfileEncoder(file, info.channels));
        if (format == EncodedFormat::flac) return encoder->setLevel(kFlacLevel) ? std::move(encoder) : nullptr;
        int constant = SF_BITRATE_MODE_CONSTANT;
        sf_command(file, SFC_SET_BITRATE_MODE, &constant, sizeof constant);
        return encoder->setLevel(kMp3Level) ? std::move(encoder) : nullptr;
    }
    ~SndfileEncoder() override {
        if (file_) sf_close(file_);
    }
    bool write(const std::int16_t* samples, std::size_t frames) override {
        wide_.resize(frames * static_cast<std::size_t>(channels_));
        for (std::size_t i = 0; i < wide_.size(); ++i)
            wide_[i] = static_cast<int>(samples[i]) * 65536;
        return sf_writef_int(file_, wide_.data(), static_cast<sf_count_t>(frames)) == static_cast<sf_count_t>(frames);
    }
    bool finish() override {
        const int closed = sf_close(file_);
        file_ = nullptr;
        return closed == 0;
    }

private:
    SndfileEncoder(SNDFILE* file, int channels) : file_(file), channels_(channels) {}
    bool setLevel(double level) {
        return sf_command(file_, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level) == SF_TRUE;
    }

    SNDFILE* file_;
    int channels_;
    std::vector<int> wide_;
};

// Opus in an Ogg file through libopusenc, which takes the take's rate and resamples it to
// Opus's 48 kHz itself.
class OpusEncoder final : public FrameEncoder {
public:
    static std::unique_ptr<OpusEncoder> open(OutputFile& output, const SF_INFO& take) {
        static const OpusEncCallbacks callbacks{[](void* file, const unsigned char* data, opus_int32 bytes) {
                                                    const auto size = static_cast<std::size_t>(bytes);
                                                    return static_cast<OutputFile*>(file)->write(data, size) == size
                                                               ? 0
                                                               : 1;
                                                },
                                                [](void*) { return 0; }}; // the partial file closes the descriptor
        OggOpusComments* comments = ope_comments_create();
        if (!comments) return nullptr;
        int error = OPE_OK;
        OggOpusEnc* encoder =
            ope_encoder_create_callbacks(&callbacks, &output, comments, take.samplerate, take.channels, 0, &error);
        ope_comments_destroy(comments);
        if (!encoder) return nullptr;
        auto opened = std::unique_ptr<OpusEncoder>(new OpusEncoder(encoder));
        // Told that the take holds 16 bits, the encoder spends none on what lies below them.
        // libopusenc takes the stream's serial from rand(), the same in every run: tools that chain
        // or mux Ogg streams need each take's to be its own.
        const auto serial = static_cast<opus_int32>(std::random_device()());
        const bool set = ope_encoder_ctl(encoder, OPUS_SET_BITRATE(kOpusBitsPerSecond)) == OPE_OK &&
                         ope_encoder_ctl(encoder, OPUS_SET_LSB_DEPTH(16)) == OPE_OK &&
                         ope_encoder_ctl(encoder, OPE_SET_SERIALNO(serial)) == OPE_OK;
        return set ? std::move(opened) : nullptr;
    }
    ~OpusEncoder() override { ope_encoder_destroy(encoder_); }
    bool write(const std::int16_t* samples, std::size_t frames) override {
        return ope_encoder_write(encoder_, samples, static_cast<int>(frames)) == OPE_OK;
    }
    bool finish() override { return ope_encoder_drain(encoder_) == OPE_OK; }

private:
    explicit OpusEncoder(OggOpusEnc* encoder) : encoder_(encoder) {}
    OggOpusEnc* encoder_;
};

std::unique_ptr<FrameEncoder> openEncoder(OutputFile& output, const SF_INFO& take, EncodedFormat format) {
    if (format == EncodedFormat::opus) return OpusEncoder::open(output, take);
    return SndfileEncoder::open(output, take, format);
}

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using TakeReader = std::unique_ptr<SNDFILE, SndfileCloser>;

// Tells the progress each time it grows by a thousandth.
class ProgressReport {
public:
    ProgressReport(const EncodeProgress& progress, sf_count_t total) : progress_(progress), total_(total) {}
    void framesDone(sf_count_t done) {
        if (!progress_ || total_ <= 0) return;
        const auto thousandths = static_cast<int>(done * 1000 / total_);
        if (thousandths <= told_) return;
        told_ = thousandths;
        progress_(static_cast<double>(done) / static_cast<double>(total_));
    }

private:
    const EncodeProgress& progress_;
    sf_count_t total_;
    int told_ = -1;
};

// Moves every frame of the take through the encoder; the output's own reason wins over the
// encoder's, since a full disk is what the user can act on.
std::error_code encodeFrames(SNDFILE* take, const SF_INFO& info, FrameEncoder& encoder, const OutputFile& output,
                             const std::stop_token& cancel, ProgressReport& progress) {
    const auto failure = [&output] {
        return output.error() ? output.error() : make_error_code(AudioError::encoderFailed);
    };
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kChunkFrames * info.channels));
    sf_count_t done = 0;
    for (;;) {
        if (cancel.stop_requested()) return std::make_error_code(std::errc::operation_canceled);
        takefs::clearLastError();
        const sf_count_t got = sf_readf_short(take, chunk.data(), kChunkFrames);
        if (got <= 0) break;
        if (!encoder.write(chunk.data(), static_cast<std::size_t>(got)) || output.error()) return failure();
        done += got;
        progress.framesDone(done);
    }
    if (done < info.frames) { // the take could not be read to its end: the system's reason, else a broken take
        const std::error_code reason = takefs::lastErrorOr(std::errc::io_error);
        return reason == std::errc::io_error ? make_error_code(AudioError::notWav) : reason;
    }
    if (!encoder.finish() || output.error()) return failure();
    return {};
}

Result<TakeReader> openTake(const fs::path& take, SF_INFO& info) {
    std::error_code statError;
    if (!fs::is_regular_file(take, statError)) return std::make_error_code(std::errc::no_such_file_or_directory);
    SNDFILE* file = takefs::openSoundFile(take, SFM_READ, &info);
    if (!file) return AudioError::notWav;
    return TakeReader(file);
}

} // namespace

std::vector<EncodedFormat> encodableFormats() { return {EncodedFormat::flac, EncodedFormat::opus, EncodedFormat::mp3}; }

std::error_code encodeTake(const fs::path& take, const fs::path& target, EncodedFormat format, std::stop_token cancel,
                           const EncodeProgress& progress) {
    SF_INFO info{};
    auto reader = openTake(take, info);
    if (!reader) return reader.error();
    std::error_code sameFile;
    if (fs::equivalent(take, target, sameFile)) return std::make_error_code(std::errc::file_exists);
    auto partial = takefs::createPartialOutput(target, take);
    if (!partial) return partial.error();
    OutputFile output(**partial);
    ProgressReport report(progress, info.frames);
    {
        const auto encoder = openEncoder(output, info, format);
        if (!encoder) return output.error() ? output.error() : make_error_code(AudioError::encoderFailed);
        if (const std::error_code error = encodeFrames(reader->get(), info, *encoder, output, cancel, report))
            return error;
    }
    return (*partial)->replaceTarget();
}

} // namespace murmora::audio
