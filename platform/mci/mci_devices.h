#pragma once
#include "core/result.h"
#include "engine/audio_backend.h"
#include "engine/capture_recorder.h"
#include "engine/file_player.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace murmora::mci {

// What a device answers of its own (the verb it does not take, a lost device), as error codes
// whose values are the MCI result codes.
const std::error_category& mciCategory();
std::error_code mciError(int code);

// A device kept under an alias. A verb the device does not take fails with
// kUnsupportedFunction; other failures carry the audio layer's or the system's reason.
class MciDevice {
public:
    enum class TimeFormat {
        milliseconds,
        bytes
    };
    virtual ~MciDevice() = default;

    virtual std::error_code record();
    virtual std::error_code pause();
    virtual std::error_code resume();
    virtual std::error_code play();
    virtual std::error_code stop() = 0;
    virtual std::error_code save(const std::filesystem::path& target);
    virtual std::string mode() const = 0;
    // "status ALIAS level": the input's present peak sample value. Devices without an input
    // fail with kUnsupportedFunction.
    virtual Result<int> level() const;

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
    static Result<std::unique_ptr<MciDevice>> open(audio::AudioBackend& backend,
                                                   const std::filesystem::path& takeFolder);
    std::error_code record() override;
    // Hold the take and record on into it.
    std::error_code pause() override;
    std::error_code resume() override;
    // Fails with the system's reason when the take file could not be written to its end.
    std::error_code stop() override;
    std::error_code save(const std::filesystem::path& target) override;
    std::string mode() const override;
    // 0 to 32767 while recording, as a Windows waveaudio device answers for 16-bit input; 0 otherwise.
    Result<int> level() const override;
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
    static Result<std::unique_ptr<MciDevice>> open(audio::AudioBackend& backend, const std::filesystem::path& path);
    std::error_code play() override;
    std::error_code stop() override;
    std::string mode() const override;

private:
    explicit PlaybackDevice(std::unique_ptr<audio::FilePlayer> player) : player_(std::move(player)) {}
    std::int64_t lengthFrames() const override { return player_->frames(); }
    int sampleRate() const override { return player_->sampleRate(); }
    std::int64_t bytesPerFrame() const override { return player_->bytesPerFrame(); }

    std::unique_ptr<audio::FilePlayer> player_;
};

} // namespace murmora::mci
