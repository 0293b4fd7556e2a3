#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace murmora {

// The MCI-style string service: every audio step of the program is one command text.
// The reply is written into `reply` (at most `replyLength` characters, NUL-terminated where
// it fits); `reply` may be null when `replyLength` is 0. Returns 0 on success, else an
// MCI-style error code (see platform/mci/mci_errors.h).
class MciService {
public:
    virtual ~MciService() = default;
    virtual int SendString(std::string_view command, char* reply, std::size_t replyLength) = 0;
    // What a result code means, in words for the user, with what is known of the cause of the
    // last failure that gave this code (which device, which folder, the system's reason).
    virtual std::string GetErrorString(int code) = 0;
};

} // namespace murmora
