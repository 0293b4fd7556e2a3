#pragma once
#include "platform/audio/audio_backend.h"
#include "platform/mci/mci_command.h"
#include "platform/mci/mci_devices.h"
#include "platform/mci_service.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace murmora::mci {

// Carries out command texts on devices kept by alias. Called from one thread (the user
// interface's); no command waits on the disk except the drain of "stop" and the finishing
// of "save".
class MciStringService final : public MciService {
public:
    MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder);
    int SendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string GetErrorString(int code) override;

    // The device under `alias`, or null; for tests and measurement.
    const MciDevice* device(const std::string& alias) const;

private:
    // `failure` takes what is known of a failure's cause beyond its code.
    int execute(const MciCommand& command, std::string& reply, std::string& failure);
    int open(const MciCommand& command, std::string& failure);
    int set(MciDevice& device, const MciCommand& command);
    int status(const MciDevice& device, const MciCommand& command, std::string& reply);

    std::unique_ptr<audio::AudioBackend> backend_; // outlives the devices, whose streams it made
    std::filesystem::path takeFolder_;
    std::map<std::string, std::unique_ptr<MciDevice>> devices_; // by alias in lower case
    std::mutex failureMutex_;
    int lastFailureCode_ = 0;
    std::string lastFailureText_; // the user's words for the last failure
};

} // namespace murmora::mci

