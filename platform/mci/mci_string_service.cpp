#include "platform/mci/mci_string_service.h"

#include "platform/audio/take_file.h"
#include "platform/mci/make_mci_service.h"
#include "platform/mci/mci_errors.h"

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

} // namespace

MciStringService::MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder)
    : backend_(std::move(backend)), takeFolder_(std::move(takeFolder)) {}

int MciStringService::SendString(std::string_view text, char* reply, std::size_t replyLength) {
    std::string answer;
    const auto command = parseMciCommand(text);
    const int result = command ? execute(*command, answer) : kUnrecognisedCommand;
    writeReply(answer, reply, replyLength);
    return result;
}

const MciDevice* MciStringService::device(const std::string& alias) const {
    const auto found = devices_.find(alias);
    return found == devices_.end() ? nullptr : found->second.get();
}

int MciStringService::execute(const MciCommand& command, std::string& reply) {
    if (command.verb == "open")
        return open(command);
    const auto found = devices_.find(command.alias);
    if (found == devices_.end())
        return kAliasNotOpen;
    MciDevice& device = *found->second;
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
    devices_.erase(found); // close: the device ends what it does and discards an unsaved take
    return kSuccess;
}

int MciStringService::open(const MciCommand& command) {
    if (devices_.contains(command.alias))
        return kAliasInUse;
    int result = kSuccess;
    std::unique_ptr<MciDevice> device;
    if (command.newTake)
        device = CaptureDevice::open(*backend_, takeFolder_, result);
    else
        device = PlaybackDevice::open(*backend_, command.path, result);
    if (device)
        devices_.emplace(command.alias, std::move(device));
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
