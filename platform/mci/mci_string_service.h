#pragma once
#include "engine/audio_backend.h"
#include "platform/mci/mci_command.h"
#include "platform/mci/mci_devices.h"
#include "platform/mci/mci_service.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace murmora::mci {

// Carries out command texts on devices kept by alias, one command at a time.
class MciStringService final : public MciService {
public:
    MciStringService(std::unique_ptr<audio::AudioBackend> backend, std::filesystem::path takeFolder);
    // Closes every device first: the streams go before the backend that made them.
    ~MciStringService() override;
    int sendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string getErrorString(int code) override;

private:
    std::error_code execute(const MciCommand& command, std::string& reply);
    std::error_code open(const MciCommand& command);
    std::error_code set(MciDevice& device, const MciCommand& command);
    std::error_code status(const MciDevice& device, const MciCommand& command, std::string& reply);

    std::unique_ptr<audio::AudioBackend> backend_;
    std::filesystem::path takeFolder_;
    std::map<std::string, std::unique_ptr<MciDevice>> devices_; // by alias in lower case
    std::map<int, std::string> failureTexts_;                   // the words of the last failure of each code
};

} // namespace murmora::mci
