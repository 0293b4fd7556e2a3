#include "platform/mci/mci_string_service.h"

#include "engine/backends/backends.h"
#include "engine/sound_failures.h"
#include "engine/take_file.h"
#include "engine/utf8_path.h"

#include <algorithm>
#include <cstring>

namespace murmora::mci {
namespace {

using Words = std::vector<std::string>;

// Copies as much of the reply as fits, and the closing NUL where it fits too.
void writeReply(const std::string& text, char* reply, std::size_t replyLength) {
    if (!reply || replyLength == 0) return;
    const std::size_t count = std::min(text.size(), replyLength);
    std::memcpy(reply, text.data(), count);
    if (count < replyLength) reply[count] = '\0';
}

// The words for a result code of the command language itself.
std::string errorText(int code) {
    switch (code) {
    case kSuccess:
        return "The command was carried out";
    case kUnrecognisedKeyword:
        return "The command holds a word the device does not take";
    case kUnrecognisedCommand:
        return "The command is not known";
    case kAliasNotOpen:
        return "The device is not open";
    case kUnsupportedFunction:
        return "The device cannot do that";
    case kDeviceNotReady:
        return "The device is not ready";
    case kAliasInUse:
        return "The device is already open";
    case kBadTimeFormat:
        return "The time format is not known";
    case kFileNameRequired:
        return "A file name is needed";
    case kDeviceLost:
        return "The sound device went away";
    default:
        return "Unknown error " + std::to_string(code);
    }
}

int resultCodeOf(SoundFailure failure) {
    switch (failure) {
    case SoundFailure::noDevice:
        return kNoAudioDevice;
    case SoundFailure::notAnswering:
        return kServerNotAnswering;
    case SoundFailure::deviceLost:
        return kDeviceLost;
    case SoundFailure::takeFile:
        return kTakeFileFailed;
    case SoundFailure::notSaved:
    case SoundFailure::saveCancelled: // not told here: the command language saves WAV, which is not given up
        return kFileNotSaved;
    case SoundFailure::notFound:
        return kFileNotFound;
    case SoundFailure::notPlayable:
        return kNotReadableWav;
    case SoundFailure::none:
        break;
    }
    return kSuccess;
}

// The engine's words for what a command's failure was, by what the command did.
SoundError soundErrorOf(const MciCommand& command, const std::error_code& error,
                        const std::filesystem::path& takeFolder) {
    if ((command.verb == "open" && command.newTake) || command.verb == "record")
        return audio::takeNotStarted(error, takeFolder);
    if (command.verb == "open" || command.verb == "play") return audio::playbackNotStarted(error);
    if (command.verb == "save") return audio::takeNotSaved(error);
    return audio::takeNotWritten(error);
}

} // namespace

MciStringService::MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder)
    : backend_(std::move(backend)), takeFolder_(std::move(takeFolder)) {}

MciStringService::~MciStringService() { devices_.clear(); }

int MciStringService::sendString(std::string_view text, char* reply, std::size_t replyLength) {
    const auto command = parseMciCommand(text);
    std::string answer;
    const std::error_code error = command ? execute(*command, answer) : mciError(kUnrecognisedCommand);
    writeReply(answer, reply, replyLength);
    if (!error) return kSuccess;
    if (error.category() == mciCategory()) {
        failureTexts_[error.value()] = errorText(error.value());
        return error.value();
    }
    const SoundError failure = soundErrorOf(*command, error, takeFolder_);
    const int code = resultCodeOf(failure.failure);
    failureTexts_[code] = failure.text;
    return code;
}

std::string MciStringService::getErrorString(int code) {
    const auto found = failureTexts_.find(code);
    return found == failureTexts_.end() ? errorText(code) : found->second;
}

std::error_code MciStringService::execute(const MciCommand& command, std::string& reply) {
    if (command.verb == "open") return open(command);
    const auto found = devices_.find(command.alias);
    if (found == devices_.end()) return mciError(kAliasNotOpen);
    MciDevice& device = *found->second;
    if (command.verb == "set") return set(device, command);
    if (command.verb == "status") return status(device, command, reply);
    if (command.verb == "save")
        return command.path.empty() ? mciError(kFileNameRequired) : device.save(audio::pathOfUtf8(command.path));
    if (!command.words.empty()) return mciError(kUnrecognisedKeyword);
    if (command.verb == "record") return device.record();
    if (command.verb == "pause") return device.pause();
    if (command.verb == "resume") return device.resume();
    if (command.verb == "play") return device.play();
    if (command.verb == "stop") return device.stop();
    devices_.erase(found); // close: the device ends what it does and discards an unsaved take
    return {};
}

std::error_code MciStringService::open(const MciCommand& command) {
    if (devices_.count(command.alias)) return mciError(kAliasInUse);
    auto device = command.newTake ? CaptureDevice::open(*backend_, takeFolder_)
                                  : PlaybackDevice::open(*backend_, audio::pathOfUtf8(command.path));
    if (!device) return device.error();
    devices_.emplace(command.alias, std::move(*device));
    return {};
}

std::error_code MciStringService::set(MciDevice& device, const MciCommand& command) {
    const Words& words = command.words;
    if (words.size() != 3 || words[0] != "time" || words[1] != "format") return mciError(kUnrecognisedKeyword);
    if (words[2] == "ms" || words[2] == "milliseconds")
        device.setTimeFormat(MciDevice::TimeFormat::milliseconds);
    else if (words[2] == "bytes")
        device.setTimeFormat(MciDevice::TimeFormat::bytes);
    else
        return mciError(kBadTimeFormat);
    return {};
}

std::error_code MciStringService::status(const MciDevice& device, const MciCommand& command, std::string& reply) {
    if (command.words == Words{"length"})
        reply = device.length();
    else if (command.words == Words{"mode"})
        reply = device.mode();
    else if (command.words == Words{"level"}) {
        const Result<int> level = device.level();
        if (!level) return level.error();
        reply = std::to_string(*level);
    } else
        return mciError(kUnrecognisedKeyword);
    return {};
}

} // namespace murmora::mci

namespace murmora {

std::unique_ptr<MciService> makeMciService() {
    return std::make_unique<mci::MciStringService>(audio::makeAudioBackend(), audio::defaultTakeFolder());
}

} // namespace murmora
