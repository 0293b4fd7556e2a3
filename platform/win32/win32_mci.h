#pragma once
#include "platform/mci_service.h"

namespace murmora {

// The Windows MCI string service itself (winmm's mciSendStringW). A new take is set to the
// program's format, 44,100 Hz 16-bit stereo, as soon as it is opened: the service's own default
// is a telephone-grade 11,025 Hz 8-bit mono.
class Win32Mci final : public MciService {
public:
    int sendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string getErrorString(int code) override;

private:
    int send(std::string_view command, char* reply, std::size_t replyLength);
};

} // namespace murmora
