#include "platform/mci/mci_devices.h"

#include "platform/mci_service.h"

namespace murmora::mci {
namespace {

// The answer to a device call that was not refused for a reason of the device's own.
int resultOf(audio::DeviceResult result) {
    switch (result) {
    case audio::DeviceResult::done:
        return kSuccess;
    case audio::DeviceResult::timedOut:
        return kServerNotAnswering;
    default:
        return kNoAudioDevice;
    }
}

int resultOf(audio::OpenError error) {
    switch (error) {
    case audio::OpenError::none:
        return kSuccess;
    case audio::OpenError::notFound:
        return kFileNotFound;
    case audio::OpenError::notWav:
        return kNotReadableWav;
    case audio::OpenError::noTakeFile:
        return kTakeFileFailed;
    case audio::OpenError::noServerAnswer:
        return kServerNotAnswering;
    default:
        return kNoAudioDevice;
    }
}

} // namespace

int MciDevice::record() { return kUnsupportedFunction; }
int MciDevice::play() { return kUnsupportedFunction; }
int MciDevice::save(const std::filesystem::path&) { return kUnsupportedFunction; }

std::string MciDevice::length() const {
    const std::int64_t frames = lengthFrames();
    return std::to_string(timeFormat_ == TimeFormat::bytes ? frames * bytesPerFrame()
                                                           : frames * 1000 / sampleRate());
}

std::unique_ptr<CaptureDevice> CaptureDevice::open(audio::AudioBackend& backend,
                                                   const std::filesystem::path& takeFolder, int& result,
                                                   std::error_code& fileError) {
    audio::OpenError error = audio::OpenError::none;
    auto recorder = audio::CaptureRecorder::open(backend, takeFolder, audio::StreamFormat{}, error, fileError);
    result = resultOf(error);
    return recorder ? std::unique_ptr<CaptureDevice>(new CaptureDevice(std::move(recorder))) : nullptr;
}

int CaptureDevice::record() {
    if (recorder_->lost())
        return kDeviceLost;
    if (recorder_->saved())
        return kDeviceNotReady;
    return resultOf(recorder_->record());
}

int CaptureDevice::stop() {
    const int result = resultOf(recorder_->stop());
    if (recorder_->lost())
        return kDeviceLost;
    return recorder_->writeFailed() ? kTakeFileFailed : result;
}

int CaptureDevice::save(const std::filesystem::path& target) {
    std::error_code error;
    return recorder_->save(target, error) ? kSuccess : kFileNotSaved;
}

std::string CaptureDevice::mode() const {
    if (recorder_->lost())
        return "not ready";
    return recorder_->recording() ? "recording" : "stopped";
}

std::unique_ptr<PlaybackDevice> PlaybackDevice::open(audio::AudioBackend& backend, const std::filesystem::path& path,
                                                     int& result) {
    audio::OpenError error = audio::OpenError::none;
    auto player = audio::FilePlayer::open(backend, path, error);
    result = resultOf(error);
    return player ? std::unique_ptr<PlaybackDevice>(new PlaybackDevice(std::move(player))) : nullptr;
}

int PlaybackDevice::play() { return player_->lost() ? kDeviceLost : resultOf(player_->play()); }

int PlaybackDevice::stop() { return resultOf(player_->stop()); }

std::string PlaybackDevice::mode() const {
    if (player_->lost())
        return "not ready";
    return player_->playing() ? "playing" : "stopped";
}

} // namespace murmora::mci
