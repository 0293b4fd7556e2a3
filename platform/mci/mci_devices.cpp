#include "platform/mci/mci_devices.h"

#include "platform/mci/mci_service.h"

#include <algorithm>

namespace murmora::mci {

namespace {

class MciCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "mci"; }
    std::string message(int code) const override { return "MCI result " + std::to_string(code); }
};

} // namespace

const std::error_category& mciCategory() {
    static const MciCategory category;
    return category;
}

std::error_code mciError(int code) { return {code, mciCategory()}; }

std::error_code MciDevice::record() { return mciError(kUnsupportedFunction); }
std::error_code MciDevice::pause() { return mciError(kUnsupportedFunction); }
std::error_code MciDevice::resume() { return mciError(kUnsupportedFunction); }
std::error_code MciDevice::play() { return mciError(kUnsupportedFunction); }
std::error_code MciDevice::save(const std::filesystem::path&) { return mciError(kUnsupportedFunction); }
Result<int> MciDevice::level() const { return mciError(kUnsupportedFunction); }

std::string MciDevice::length() const {
    const std::int64_t frames = lengthFrames();
    return std::to_string(timeFormat_ == TimeFormat::bytes ? frames * bytesPerFrame() : frames * 1000 / sampleRate());
}

Result<std::unique_ptr<MciDevice>> CaptureDevice::open(audio::AudioBackend& backend,
                                                       const std::filesystem::path& takeFolder) {
    auto recorder = audio::CaptureRecorder::open(backend, takeFolder, audio::StreamFormat{});
    if (!recorder) return recorder.error();
    return std::unique_ptr<CaptureDevice>(new CaptureDevice(std::move(*recorder)));
}

std::error_code CaptureDevice::record() {
    if (recorder_->lost()) return mciError(kDeviceLost);
    if (recorder_->finished()) return mciError(kDeviceNotReady);
    return recorder_->record();
}

std::error_code CaptureDevice::pause() {
    if (recorder_->lost()) return mciError(kDeviceLost);
    if (recorder_->finished()) return mciError(kDeviceNotReady);
    return recorder_->pause();
}

std::error_code CaptureDevice::resume() {
    if (recorder_->lost()) return mciError(kDeviceLost);
    if (recorder_->finished()) return mciError(kDeviceNotReady);
    return recorder_->resume();
}

std::error_code CaptureDevice::stop() {
    const std::error_code stopped = recorder_->stop();
    if (recorder_->lost()) return mciError(kDeviceLost);
    return recorder_->writeError() ? recorder_->writeError() : stopped;
}

std::error_code CaptureDevice::save(const std::filesystem::path& target) { return recorder_->save(target); }

std::string CaptureDevice::mode() const {
    if (recorder_->lost()) return "not ready";
    if (!recorder_->recording()) return "stopped";
    return recorder_->paused() ? "paused" : "recording";
}

Result<int> CaptureDevice::level() const {
    constexpr int kLargestSample = 32767; // a peak of -32768 is told as the largest the reply holds
    return std::min(recorder_->inputPeak(), kLargestSample);
}

Result<std::unique_ptr<MciDevice>> PlaybackDevice::open(audio::AudioBackend& backend,
                                                        const std::filesystem::path& path) {
    auto player = audio::FilePlayer::open(backend, path);
    if (!player) return player.error();
    return std::unique_ptr<PlaybackDevice>(new PlaybackDevice(std::move(*player)));
}

std::error_code PlaybackDevice::play() { return player_->lost() ? mciError(kDeviceLost) : player_->play(); }

std::error_code PlaybackDevice::stop() { return player_->stop(); }

std::string PlaybackDevice::mode() const {
    if (player_->lost()) return "not ready";
    return player_->playing() ? "playing" : "stopped";
}

} // namespace murmora::mci
