// mci-shell: sends command texts read from standard input to the MCI string service.
// "#sleep N" waits N milliseconds; every other line is a command, answered with one line:
// the result code, a tab, and the reply text. Texts are UTF-8, paths in commands too; lines end
// in "\n" on Windows as well, for the scripts that read them.
#include "platform/mci/mci_service.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr std::string_view kSleep = "#sleep";
constexpr std::size_t kReplyLength = 1024;

bool sleepLine(const std::string& line) {
    if (line.rfind(kSleep, 0) != 0) return false;
    std::string_view count = std::string_view(line).substr(kSleep.size());
    count.remove_prefix(std::min(count.find_first_not_of(" \t"), count.size()));
    long long milliseconds = 0;
    std::from_chars(count.data(), count.data() + count.size(), milliseconds);
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return true;
}

} // namespace

int main() {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    std::ios::sync_with_stdio(false);
    const auto service = murmora::makeMciService();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (sleepLine(line)) continue;
        char reply[kReplyLength + 1] = {};
        const int result = service->sendString(line, reply, kReplyLength);
        std::cout << result << '\t' << reply << std::endl;
    }
}
