#include "platform/mci/mci_string_service.h"

#include "platform/audio/take_file.h"
#include "platform/mci/make_mci_service.h"
#include "platform/mci_service.h"

#include <algorithm>
#include <cstring>

namespace murmora::mci {
namespace {

using Words = std::vector<std::string>;

// Copies as much of the reply as fits, and the closing NUL where it fits too.
void writeReply(const std::string& text, char* reply, std::size_t replyLength) {
    if (!reply || replyLength == 0)
        return;
    const std::size_t count = std::min(text.size(), replyLength);
    std::memcpy(reply, text.data(), count);
    if (count < replyLength)
        reply[count] = '\0';
}

// The user's words for a result code.
std::string errorText(int code) {
    switch (code) {
    case kSuccess: return "The command was carried out";
    case kUnrecognisedKeyword: return "The command holds a word the device does not take";
    case kUnrecognisedCommand: return "The command is not known";
    case kAliasNotOpen: return "The device is not open";
    case kUnsupportedFunction: return "The device cannot do that";
    case kDeviceNotReady: return "The device is not ready";
    case kFileNotFound: return "The file was not found";
    case kFileNotSaved: return "The file could not be saved";
    case kAliasInUse: return "The device is already open";
    case kBadTimeFormat: return "The time format is not known";
    case kNotReadableWav: return "The file is no WAV file that can be read";
    case kFileNameRequired: return "A file name is needed";
    case kNoAudioDevice: return "No sound device could be opened";
    case kTakeFileFailed: return "The file for the recording could not be made or written";
    case kServerNotAnswering: return "The sound server does not answer";
    case kDeviceLost: return "The sound device went away";
    default: return "Unknown error " + std::to_string(code);
    }
}

// The user's words for the failure of `command`: which device, when the code does not say.
std::string failureText(const std::optional<MciCommand>& command, int code) {
    if (code == kNoAudioDevice && command)
        return command->newTake || command->verb == "record" ? "The sound input could not be opened"
                                                             : "The sound output could not be opened";
    return errorText(code);
}

} // namespace

MciStringService::MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder)
    : backend_(std::move(backend)), takeFolder_(std::move(takeFolder)) {}

int MciStringService::sendString(std::string_view text, char* reply, std::size_t replyLength) {
    std::string answer;
    std::string failure;
    const auto command = parseMciCommand(text);
    const int result = command ? execute(*command, answer, failure) : kUnrecognisedCommand;
    writeReply(answer, reply, replyLength);
    if (result != kSuccess) {
        std::lock_guard lock(failureMutex_);
        failureTexts_[result] = failure.empty() ? failureText(command, result) : failure;
    }
    return result;
}

std::string MciStringService::getErrorString(int code) {
    std::lock_guard lock(failureMutex_);
    const auto found = failureTexts_.find(code);
    return found == failureTexts_.end() ? errorText(code) : found->second;
}

const MciDevice* MciStringService::device(const std::string& alias) const {
    const std::shared_ptr<Slot> slot = find(alias);
    return slot ? slot->device.get() : nullptr;
}

std::shared_ptr<MciStringService::Slot> MciStringService::find(const std::string& alias) const {
    std::lock_guard lock(tableMutex_);
    const auto found = devices_.find(alias);
    return found == devices_.end() ? nullptr : found->second;
}

void MciStringService::remove(const std::string& alias, const std::shared_ptr<Slot>& slot) {
    std::lock_guard lock(tableMutex_);
    if (const auto found = devices_.find(alias); found != devices_.end() && found->second == slot)
        devices_.erase(found);
}

int MciStringService::execute(const MciCommand& command, std::string& reply, std::string& failure) {
    if (command.verb == "open")
        return open(command, failure);
    const std::shared_ptr<Slot> slot = find(command.alias);
    if (!slot)
        return kAliasNotOpen;
    const std::unique_lock busy(slot->busy, std::try_to_lock);
    if (!busy.owns_lock())
        return kDeviceNotReady; // another thread's command (a save) is still at work on it
    MciDevice& device = *slot->device;
    if (command.verb == "set")
        return set(device, command);
    if (command.verb == "status")
        return status(device, command, reply);
    if (command.verb == "save")
        return command.path.empty() ? kFileNameRequired : device.save(command.path);
    if (!command.words.empty())
        return kUnrecognisedKeyword;
    if (command.verb == "record")
        return device.record();
    if (command.verb == "play")
        return device.play();
    if (command.verb == "stop")
        return device.stop();
    remove(command.alias, slot); // close: the device ends what it does and discards an unsaved take
    return kSuccess;
}

int MciStringService::open(const MciCommand& command, std::string& failure) {
    if (find(command.alias))
        return kAliasInUse;
    int result = kSuccess;
    std::unique_ptr<MciDevice> device;
    std::error_code fileError;
    if (command.newTake)
        device = CaptureDevice::open(*backend_, takeFolder_, result, fileError);
    else
        device = PlaybackDevice::open(*backend_, command.path, result);
    if (device) {
        auto slot = std::make_shared<Slot>();
        slot->device = std::move(device);
        std::lock_guard lock(tableMutex_);
        if (!devices_.try_emplace(command.alias, std::move(slot)).second)
            return kAliasInUse; // opened by another thread meanwhile
    }
    if (fileError)
        failure = "The file for the recording could not be created in " + takeFolder_.string() + " (" +
                  fileError.message() + ")";
    return result;
}

int MciStringService::set(MciDevice& device, const MciCommand& command) {
    const Words& words = command.words;
    if (words.size() != 3 || words[0] != "time" || words[1] != "format")
        return kUnrecognisedKeyword;
    if (words[2] == "ms" || words[2] == "milliseconds")
        device.setTimeFormat(MciDevice::TimeFormat::milliseconds);
    else if (words[2] == "bytes")
        device.setTimeFormat(MciDevice::TimeFormat::bytes);
    else
        return kBadTimeFormat;
    return kSuccess;
}

int MciStringService::status(const MciDevice& device, const MciCommand& command, std::string& reply) {
    if (command.words == Words{"length"})
        reply = device.length();
    else if (command.words == Words{"mode"})
        reply = device.mode();
    else
        return kUnrecognisedKeyword;
    return kSuccess;
}

} // namespace murmora::mci

namespace murmora {

std::unique_ptr<MciService> makeMciService() {
    return std::make_unique<mci::MciStringService>(audio::makeAudioBackend(), audio::defaultTakeFolder());
}

} // namespace murmora
