#pragma once
#include <optional>
#include <string>

#include "platform/mci_service.h"

namespace murmora {

// The MCI device "capture" as the recorder drives it: every command answers with the
// service's result code.
class TakeDevice {
public:
    explicit TakeDevice(MciService& mci) : mci_(mci) {}

    // Opens a new take and starts recording it. When either step fails nothing records and the
    // device is closed again; the result code of the failure.
    int openAndRecord();
    int stop();
    int saveAs(const std::string& path);
    // Closes the device; an unsaved take is discarded. A close that fails leaves nothing to do:
    // the service cleans up after a server that did not answer once it does.
    void close();
    // True when the device reports that its input went away: the take has ended.
    bool inputLost();
    // The whole seconds the take holds.
    long seconds();
    // The input's present peak sample value, 0 to 32767; nothing when the device cannot tell, or
    // answers what cannot be a 16-bit peak.
    std::optional<int> inputPeak();
    // The service's words for a result code, with what it knows of the cause.
    std::string errorText(int code) { return mci_.getErrorString(code); }

private:
    // Sends a command with the device's reply buffer of 1024 characters.
    int send(const std::string& command);

    MciService& mci_;
    std::string reply_ = std::string(1024, '\0');
};

} // namespace murmora
