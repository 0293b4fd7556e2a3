#pragma once
#include "platform/audio/audio_backend.h"
#include "platform/audio/capture_recorder.h"
#include "platform/audio/file_player.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace murmora::mci {

// A device kept under an alias. Every verb answers an MCI result code; what a device does not
// support answers kUnsupportedFunction.
class MciDevice {
public:
    enum class TimeFormat { milliseconds, bytes };
    virtual ~MciDevice() = default;

    virtual int record();
    virtual int play();
    virtual int stop() = 0;
    virtual int save(const std::filesystem::path& target);
    virtual std::string mode() const = 0;

    void setTimeFormat(TimeFormat format) { timeFormat_ = format; }
    // The length in the present time format, as decimal text.
    std::string length() const;

protected:
    virtual std::int64_t lengthFrames() const = 0;
    virtual int sampleRate() const = 0;
    virtual std::int64_t bytesPerFrame() const = 0;

private:
    TimeFormat timeFormat_ = TimeFormat::milliseconds;
};

// "open new": an empty take that records from the default input.
class CaptureDevice final : public MciDevice {
public:
    // Null with the reason in `result` (and `fileError` when the take file cannot be made).
    static std::unique_ptr<CaptureDevice> open(audio::AudioBackend& backend, const std::filesystem::path& takeFolder,
                                               int& result, std::error_code& fileError);
    int record() override;
    int stop() override;
    int save(const std::filesystem::path& target) override;
    std::string mode() const override;
    const audio::CaptureRecorder& recorder() const { return *recorder_; }

private:
    explicit CaptureDevice(std::unique_ptr<audio::CaptureRecorder> recorder) : recorder_(std::move(recorder)) {}
    std::int64_t lengthFrames() const override { return recorder_->lengthFrames(); }
    int sampleRate() const override { return recorder_->format().sampleRate; }
    std::int64_t bytesPerFrame() const override { return recorder_->format().channels * 2; }

    std::unique_ptr<audio::CaptureRecorder> recorder_;
};

// "open PATH": a WAV file to play on the default output.
class PlaybackDevice final : public MciDevice {
public:
    static std::unique_ptr<PlaybackDevice> open(audio::AudioBackend& backend, const std::filesystem::path& path,
                                                int& result);
    int play() override;
    int stop() override;
    std::string mode() const override;

private:
    explicit PlaybackDevice(std::unique_ptr<audio::FilePlayer> player) : player_(std::move(player)) {}
    std::int64_t lengthFrames() const override { return player_->frames(); }
    int sampleRate() const override { return player_->sampleRate(); }
    std::int64_t bytesPerFrame() const override { return player_->bytesPerFrame(); }

    std::unique_ptr<audio::FilePlayer> player_;
};

} // namespace murmora::mci
