#include "playback/player.h"

#include "core/texts.h"

namespace murmora {

std::string formatTenths(unsigned long long number, unsigned divisor, std::string_view separator) {
    // Whole-number arithmetic, so that halves round up as they read in decimal (1280 / 1024
    // gives 1.3, 150 / 1000 gives .2), which binary floating point does not always do.
    const unsigned long long remainder = number % divisor;
    const unsigned long long tenths = number / divisor * 10 + (remainder * 20 + divisor) / (2ULL * divisor);
    const unsigned long long whole = tenths / 10;
    return (whole == 0 ? std::string() : std::to_string(whole)) + std::string(separator) + std::to_string(tenths % 10);
}

Player::Player(PlayerServices services, PlayerControls controls, const LatestTake& latestTake)
    : services_(services), controls_(controls), latestTake_(latestTake),
      playButton_(services.pictures, services.screen, controls.playButton, kPlayButtonLayout, [this] { play(); }) {
    services_.engine.setPlaybackEndedHandler([this] { onPlaybackEnded(); });
}

std::optional<std::string> Player::chooseFile() const {
    const std::string file = latestTake_.latestTakePath();
    if (!file.empty() && services_.files.fileExists(file)) return file;
    // A button that does nothing would leave the user, and a screen reader, guessing why.
    const std::string why =
        file.empty() ? std::string(translated("No recording has been saved yet: there is nothing to play."))
                     : translated("The recording  %s  is not there any more: there is nothing to play.", {file});
    services_.messages.show(why, MessageStyle::information, kAppTitle);
    return std::nullopt;
}

void Player::showLength(Label& label, std::optional<std::int64_t> amount, unsigned divisor,
                        const char* amountWithUnit) {
    label.setLeft(10);
    label.setCaption(amount ? translated(amountWithUnit, {formatTenths(static_cast<unsigned long long>(*amount),
                                                                       divisor, decimalSeparator())})
                            : std::string());
}

void Player::play() {
    const auto file = chooseFile();
    if (!file) return;
    // A file that plays already starts again from its start.
    playing_ = false;
    const auto length = services_.engine.openPlayback(*file);
    showLength(
        controls_.secondsLabel, length ? std::optional(length->milliseconds) : std::nullopt, 1000,
        // TRANSLATORS: the display's labels are small: keep "sec" and "KB" as short as your language writes them.
        textKey("%s sec"));
    showLength(controls_.sizeLabel, length ? std::optional(length->bytes) : std::nullopt, 1024, textKey("%s KB"));
    if (!length) {
        tellIfNotAnswering(length.error());
        return;
    }
    if (const SoundError error = services_.engine.play()) {
        services_.engine.stopPlayback();
        tellIfNotAnswering(error);
        return;
    }
    playing_ = true;
}

void Player::tellIfNotAnswering(const SoundError& error) {
    if (error.failure != SoundFailure::notAnswering) return;
    services_.messages.show(
        translated("The sound server does not answer: the recording cannot be played now. Try again in a moment."),
        MessageStyle::exclamation, kAppTitle);
}

void Player::onPlaybackEnded() {
    playing_ = false;
    services_.engine.stopPlayback();
}

void Player::stop() {
    playing_ = false;
    services_.engine.stopPlayback();
}

} // namespace murmora
