#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/playback_engine.h"
#include "platform/screen_metrics.h"
#include "recording/latest_take.h"
#include "recording/playback_control.h"

namespace murmora {

struct PlayerServices {
    PlaybackEngine& engine;
    Files& files;
    MessageBoxes& messages;
    ResourcePictures& pictures;
    const ScreenMetrics& screen;
};

struct PlayerControls {
    PictureButton& playButton;
    Label& secondsLabel; // the length of the file played
    Label& sizeLabel;
};

// The Play button: plays the latest saved take from its start, shows its length and size, and
// closes it when it has played.
class Player final : public PlaybackControl {
public:
    Player(PlayerServices services, PlayerControls controls, const LatestTake& latestTake);

    // The Play action.
    void play();

    bool isPlaying() const override { return playing_; }
    void stop() override;

private:
    // The take to play, or nothing, with the user told why, when there is none on disk.
    std::optional<std::string> chooseFile() const;
    void showLength(Label& label, std::optional<std::int64_t> amount, unsigned divisor, const char* amountWithUnit);
    // The user is told when the sound server did not answer in time; other failures end the
    // Play action without a word, as a file that cannot be played shows no length.
    void tellIfNotAnswering(const SoundError& error);
    void onPlaybackEnded();

    PlayerServices services_;
    PlayerControls controls_;
    const LatestTake& latestTake_;
    ImageButton playButton_;
    bool playing_ = false;
};

// "#.0" of number / divisor: one rounded digit after the decimal separator, nothing before it
// below 1, no thousands separator ("1.5", ".5", ".0"; "1,5" where the separator is a comma).
std::string formatTenths(unsigned long long number, unsigned divisor, std::string_view separator);

} // namespace murmora
