#pragma once
#include <optional>
#include <string>
#include <system_error>

#include "platform/mci_service.h"

namespace murmora {

// The Windows MCI string service itself (winmm's mciSendStringW). A new take is set to the
// program's format, 44,100 Hz 16-bit stereo, as soon as it is opened: the service's own default
// is a telephone-grade 11,025 Hz 8-bit mono.
// A save goes to the service only once the file system would take the file: the service's
// "save" deletes the file at the path and renames its take file into place, and when that
// rename fails it has already let go of the take.
class Win32Mci final : public MciService {
public:
    int sendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string getErrorString(int code) override;

private:
    int send(std::string_view command, char* reply, std::size_t replyLength);

    std::error_code refusedSave_; // why the last save was refused before it reached the service
};

// The path of a "save capture" command, or nothing for any other command.
std::optional<std::string> savedTakePath(std::string_view command);
// Whether a file could be written at `path` and the file there replaced: empty when it could.
std::error_code checkWritable(const std::string& path);

} // namespace murmora
