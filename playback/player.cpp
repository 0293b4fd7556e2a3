#include "playback/player.h"

#include <charconv>

#include "core/mci_commands.h"
#include "core/texts.h"

namespace murmora {

namespace commands = mci_commands;

namespace {

constexpr std::size_t kLengthReplyLength = 255;
constexpr std::size_t kModeReplyLength = 128;
// The longest the Play action's wait sleeps between two mode queries: short enough that the
// end of the file is seen promptly (handlers run at once inside the wait, whatever it is), long
// enough that the wait costs less than the playback itself.
constexpr int kModePollMs = 250;

// The whole number the reply begins with, if it begins with one (the NUL that ends the reply
// ends the number too).
std::optional<unsigned long long> leadingNumber(const std::string& reply) {
    unsigned long long number = 0;
    const auto [end, error] = std::from_chars(reply.data(), reply.data() + reply.size(), number);
    if (error != std::errc{}) return std::nullopt;
    return number;
}

} // namespace

std::string formatTenths(unsigned long long number, unsigned divisor) {
    // Whole-number arithmetic, so that halves round up as they read in decimal (1280 / 1024
    // gives 1.3, 150 / 1000 gives .2), which binary floating point does not always do.
    const unsigned long long remainder = number % divisor;
    const unsigned long long tenths = number / divisor * 10 + (remainder * 20 + divisor) / (2ULL * divisor);
    const unsigned long long whole = tenths / 10;
    return (whole == 0 ? std::string() : std::to_string(whole)) + "." + std::to_string(tenths % 10);
}

Player::Player(PlayerServices services, PlayerControls controls, const LatestTake& latestTake)
    : services_(services), controls_(controls), latestTake_(latestTake),
      playButton_(services.pictures, controls.playButton, kPlayButtonLayout, [this] { play(); }) {}

std::optional<std::string> Player::chooseFile() const {
    const std::string file = latestTake_.latestTakePath();
    if (file.empty() || !services_.files.fileExists(file)) return std::nullopt;
    return file;
}

std::string Player::query(const std::string& command, std::size_t replyLength, char filler) {
    std::string buffer(replyLength, filler);
    send(command, buffer);
    return buffer;
}

void Player::showLength(Label& label, const std::string& reply, unsigned divisor, const char* unit) {
    label.setLeft(10);
    const auto number = leadingNumber(reply);
    label.setCaption(number ? formatTenths(*number, divisor) + unit : std::string());
}

void Player::play() {
    const auto file = chooseFile();
    if (!file) return;

    if (serverDidNotAnswer(send(commands::openPlayback(*file)))) return;
    send(commands::kTimeInMilliseconds);
    showLength(controls_.secondsLabel, query(commands::kPlaybackLengthQuery, kLengthReplyLength, '\0'), 1000, " sec");
    send(commands::kTimeInBytes);
    showLength(controls_.sizeLabel, query(commands::kPlaybackLengthQuery, kLengthReplyLength, '\0'), 1024, " KB");
    if (serverDidNotAnswer(send(commands::kPlay))) return;

    // Every other handler runs inside this wait; any of them may stop or close voice1,
    // which ends it at the next query.
    while (queryPlaying())
        services_.pump.processPendingEvents(kModePollMs);

    send(commands::kClosePlayback);
}

bool Player::serverDidNotAnswer(int result) {
    if (result != mci::kServerNotAnswering) return false;
    send(commands::kClosePlayback);
    services_.messages.show(std::string(kServerDoesNotAnswer) +
                                ": the recording cannot be played now. Try again in a moment.",
                            MessageStyle::exclamation, kAppTitle);
    return true;
}

bool Player::queryPlaying() {
    const std::string reply = query(commands::kPlaybackModeQuery, kModeReplyLength, ' ');
    // A buffer the service left without a NUL holds no mode: the device does not play.
    const auto nul = reply.find('\0');
    playing_ = nul != std::string::npos && reply.compare(0, nul, commands::kPlayingMode) == 0;
    return playing_;
}

void Player::stop() {
    send(commands::kStopPlayback);
    send(commands::kClosePlayback);
}

} // namespace murmora
