#pragma once
#include <string>

#include "platform/mci_service.h"

namespace murmora {

// The MCI service as the panel uses it. Every command goes to `service` as it is, but "save",
// which may copy a whole take to another file system, runs on a worker thread while this thread
// goes on handling events, as under a modal message box: timers tick and hotkeys act. User input
// waits during the first half second; after it an application-modal progress dialog names the
// file until the save is done. `service` must take other commands during a save.
class BackgroundSaveMci final : public MciService {
public:
    explicit BackgroundSaveMci(MciService& service) : service_(service) {}
    int sendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string getErrorString(int code) override { return service_.getErrorString(code); }

private:
    int saveInBackground(std::string_view command, const std::string& path, char* reply, std::size_t replyLength);

    MciService& service_;
};

} // namespace murmora
