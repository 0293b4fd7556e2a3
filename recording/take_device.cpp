#include "recording/take_device.h"

#include <cstdlib>

#include "core/mci_commands.h"

namespace murmora {

namespace commands = mci_commands;

int TakeDevice::send(const std::string& command) { return mci_.sendString(command, reply_.data(), reply_.size()); }

int TakeDevice::openAndRecord() {
    int result = send(commands::kOpenNewTake);
    if (result == mci::kSuccess) result = send(commands::kRecordTake);
    if (result != mci::kSuccess) close();
    return result;
}

int TakeDevice::stop() { return send(commands::kStopTake); }

int TakeDevice::saveAs(const std::string& path) { return send(commands::saveTake(path)); }

void TakeDevice::close() { static_cast<void>(send(commands::kCloseTake)); }

bool TakeDevice::inputLost() {
    return send(commands::kTakeModeQuery) == mci::kSuccess && std::string(reply_.c_str()) == commands::kLostMode;
}

std::optional<int> TakeDevice::inputPeak() {
    if (send(commands::kTakeLevelQuery) != mci::kSuccess) return std::nullopt;
    // A service without a real level answers something else: Wine's a fixed 2863289685.
    constexpr long kLargestPeak = 32767;
    char* end = nullptr;
    const long peak = std::strtol(reply_.c_str(), &end, 10);
    if (end == reply_.c_str() || *end != '\0' || peak < 0 || peak > kLargestPeak) return std::nullopt;
    return static_cast<int>(peak);
}

long TakeDevice::seconds() {
    send(commands::kTakeLengthQuery);
    return std::strtol(reply_.c_str(), nullptr, 10) / 1000;
}

} // namespace murmora
