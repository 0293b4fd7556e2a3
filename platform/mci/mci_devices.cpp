#include "platform/mci/mci_devices.h"

#include "platform/mci/mci_errors.h"

namespace murmora::mci {

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
    using OpenError = audio::CaptureRecorder::OpenError;
    OpenError error = OpenError::none;
    auto recorder = audio::CaptureRecorder::open(backend, takeFolder, audio::StreamFormat{}, error, fileError);
    result = error == OpenError::none ? kSuccess : error == OpenError::noDevice ? kNoAudioDevice : kTakeFileFailed;
    return recorder ? std::unique_ptr<CaptureDevice>(new CaptureDevice(std::move(recorder))) : nullptr;
}

int CaptureDevice::record() {
    if (recorder_->saved())
        return kDeviceNotReady;
    return recorder_->record() ? kSuccess : kNoAudioDevice;
}

int CaptureDevice::stop() {
    recorder_->stop();
    return recorder_->writeFailed() ? kTakeFileFailed : kSuccess;
}

int CaptureDevice::save(const std::filesystem::path& target) {
    std::error_code error;
    return recorder_->save(target, error) ? kSuccess : kFileNotSaved;
}

std::string CaptureDevice::mode() const { return recorder_->recording() ? "recording" : "stopped"; }

std::unique_ptr<PlaybackDevice> PlaybackDevice::open(audio::AudioBackend& backend, const std::filesystem::path& path,
                                                     int& result) {
    using OpenError = audio::FilePlayer::OpenError;
    OpenError error = OpenError::none;
    auto player = audio::FilePlayer::open(backend, path, error);
    switch (error) {
    case OpenError::none:
        result = kSuccess;
        break;
    case OpenError::notFound:
        result = kFileNotFound;
        break;
    case OpenError::notWav:
        result = kNotReadableWav;
        break;
    case OpenError::noDevice:
        result = kNoAudioDevice;
        break;
    }
    return player ? std::unique_ptr<PlaybackDevice>(new PlaybackDevice(std::move(player))) : nullptr;
}

int PlaybackDevice::play() { return player_->play() ? kSuccess : kNoAudioDevice; }

int PlaybackDevice::stop() {
    player_->stop();
    return kSuccess;
}

std::string PlaybackDevice::mode() const { return player_->playing() ? "playing" : "stopped"; }

} // namespace murmora::mci
