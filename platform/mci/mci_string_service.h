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

// Carries out command texts on devices kept by alias. No command waits on the disk except the
// drain of "stop" and the finishing of "save", which a caller may therefore send from a worker
// thread while another thread goes on sending commands: the table of devices is locked only
// while it is looked up or changed, never while a device works, and a device still at work on
// one thread's command answers the other's with kDeviceNotReady. A "save" alone waits (a
// bounded time) for the command at work on its device to end: a status query that happens to
// hold the device as the save begins must not make the save fail.
class MciStringService final : public MciService {
public:
    MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder);
    int sendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string getErrorString(int code) override;

    // The device under `alias`, or null; for tests and measurement.
    const MciDevice* device(const std::string& alias) const;

private:
    std::error_code execute(const MciCommand& command, std::string& reply);
    std::error_code open(const MciCommand& command);
    std::error_code set(MciDevice& device, const MciCommand& command);
    std::error_code status(const MciDevice& device, const MciCommand& command, std::string& reply);

    // A device and the lock its commands hold while they work on it.
    struct Slot {
        std::timed_mutex busy;
        std::unique_ptr<MciDevice> device;
    };
    std::shared_ptr<Slot> find(const std::string& alias) const;
    // Takes `slot` out of the table; the device ends when the last command holding it is done.
    void remove(const std::string& alias, const std::shared_ptr<Slot>& slot);

    std::unique_ptr<audio::AudioBackend> backend_; // outlives the devices, whose streams it made
    std::filesystem::path takeFolder_;
    mutable std::mutex tableMutex_;
    std::map<std::string, std::shared_ptr<Slot>> devices_; // by alias in lower case
    std::mutex failureMutex_;
    std::map<int, std::string> failureTexts_; // the user's words for the last failure of each code
};

} // namespace murmora::mci
