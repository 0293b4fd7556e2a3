#include "platform/mci/mci_string_service.h"

#include "platform/audio/take_file.h"
#include "platform/mci/make_mci_service.h"
#include "platform/mci_service.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace murmora::mci {
namespace {

using Words = std::vector<std::string>;

// How long a save waits for another thread's command on its device. Those that may be at work
// then (status, set, or one bounded by the sound server's 100 ms deadline) end well within it.
constexpr std::chrono::seconds kSaveWaitsForDevice{1};

// Copies as much of the reply as fits, and the closing NUL where it fits too.
void writeReply(const std::string& text, char* reply, std::size_t replyLength) {
    if (!reply || replyLength == 0) return;
    const std::size_t count = std::min(text.size(), replyLength);
    std::memcpy(reply, text.data(), count);
    if (count < replyLength) reply[count] = '\0';
}

// The user's words for a result code.
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
    case kFileNotFound:
        return "The file was not found";
    case kFileNotSaved:
        return "The file could not be saved";
    case kAliasInUse:
        return "The device is already open";
    case kBadTimeFormat:
        return "The time format is not known";
    case kNotReadableWav:
        return "The file is no WAV file that can be read";
    case kFileNameRequired:
        return "A file name is needed";
    case kNoAudioDevice:
        return "No sound device could be opened";
    case kTakeFileFailed:
        return "The file for the recording could not be made or written";
    case kServerNotAnswering:
        return "The sound server does not answer";
    case kDeviceLost:
        return "The sound device went away";
    default:
        return "Unknown error " + std::to_string(code);
    }
}

// The result code of a failure: what a device answers of its own as it is, the audio layer's
// reasons by their codes, and a system's reason by what the command did with a file.
int resultCodeOf(const std::optional<MciCommand>& command, const std::error_code& error) {
    if (error.category() == mciCategory()) return error.value();
    if (error.category() == audio::audioCategory()) {
        switch (static_cast<audio::AudioError>(error.value())) {
        case audio::AudioError::notAnswering:
            return kServerNotAnswering;
        case audio::AudioError::notWav:
            return kNotReadableWav;
        default:
            return kNoAudioDevice;
        }
    }
    if (command->verb == "open" && !command->newTake) return kFileNotFound;
    // The take file: made at "open new", written until "stop", placed by "save".
    return command->verb == "save" ? kFileNotSaved : kTakeFileFailed;
}

// The user's words for a failure: which device, which folder, and the system's reason.
std::string failureText(const std::optional<MciCommand>& command, int code, const std::error_code& error,
                        const std::filesystem::path& takeFolder) {
    const bool systemReason = error.category() != mciCategory() && error.category() != audio::audioCategory();
    if (code == kNoAudioDevice)
        return command->newTake || command->verb == "record" ? "The sound input could not be opened"
                                                             : "The sound output could not be opened";
    if (code == kTakeFileFailed && command->verb == "open")
        return "The file for the recording could not be created in " + takeFolder.string() + " (" + error.message() +
               ")";
    if (code == kTakeFileFailed)
        return "The file for the recording could not be written to its end (" + error.message() + ")";
    return systemReason ? errorText(code) + " (" + error.message() + ")" : errorText(code);
}

} // namespace

MciStringService::MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder)
    : backend_(std::move(backend)), takeFolder_(std::move(takeFolder)) {}

int MciStringService::sendString(std::string_view text, char* reply, std::size_t replyLength) {
    const auto command = parseMciCommand(text);
    std::string answer;
    const std::error_code error = command ? execute(*command, answer) : mciError(kUnrecognisedCommand);
    writeReply(answer, reply, replyLength);
    if (!error) return kSuccess;
    const int code = resultCodeOf(command, error);
    std::lock_guard lock(failureMutex_);
    failureTexts_[code] = failureText(command, code, error, takeFolder_);
    return code;
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

std::error_code MciStringService::execute(const MciCommand& command, std::string& reply) {
    if (command.verb == "open") return open(command);
    const std::shared_ptr<Slot> slot = find(command.alias);
    if (!slot) return mciError(kAliasNotOpen);
    // Other commands come from the user interface, which never waits: they answer busy at once
    // while another thread's command (a save) is at work on the device.
    const std::unique_lock busy = command.verb == "save" ? std::unique_lock(slot->busy, kSaveWaitsForDevice)
                                                         : std::unique_lock(slot->busy, std::try_to_lock);
    if (!busy.owns_lock()) return mciError(kDeviceNotReady);
    MciDevice& device = *slot->device;
    if (command.verb == "set") return set(device, command);
    if (command.verb == "status") return status(device, command, reply);
    if (command.verb == "save") return command.path.empty() ? mciError(kFileNameRequired) : device.save(command.path);
    if (!command.words.empty()) return mciError(kUnrecognisedKeyword);
    if (command.verb == "record") return device.record();
    if (command.verb == "play") return device.play();
    if (command.verb == "stop") return device.stop();
    remove(command.alias, slot); // close: the device ends what it does and discards an unsaved take
    return {};
}

std::error_code MciStringService::open(const MciCommand& command) {
    if (find(command.alias)) return mciError(kAliasInUse);
    auto device =
        command.newTake ? CaptureDevice::open(*backend_, takeFolder_) : PlaybackDevice::open(*backend_, command.path);
    if (!device) return device.error();
    auto slot = std::make_shared<Slot>();
    slot->device = std::move(*device);
    std::lock_guard lock(tableMutex_);
    if (!devices_.try_emplace(command.alias, std::move(slot)).second)
        return mciError(kAliasInUse); // opened by another thread meanwhile
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
