#pragma once
#include <optional>
#include <string>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/files.h"
#include "platform/mci_service.h"
#include "recording/latest_take.h"
#include "recording/playback_control.h"

namespace murmora {

struct PlayerServices {
    MciService& mci;
    Files& files;
    MessageBoxes& messages;
    EventPump& pump;
    ResourcePictures& pictures;
};

struct PlayerControls {
    PictureButton& playButton;
    Label& secondsLabel; // the length of the file played
    Label& sizeLabel;
};

// The Play button: plays the latest saved take over the device voice1, shows its length and
// size, and waits for its end while the window keeps answering.
class Player final : public PlaybackControl {
public:
    Player(PlayerServices services, PlayerControls controls, const LatestTake& latestTake);

    // The Play action.
    void play();
    // Asks voice1 for its mode: true while it plays.
    bool queryPlaying();

    bool isPlaying() const override { return playing_; }
    void stop() override;

private:
    // The take to play, or nothing when there is none on disk.
    std::optional<std::string> chooseFile() const;
    int send(const std::string& command) { return services_.mci.sendString(command, nullptr, 0); }
    int send(const std::string& command, std::string& reply) {
        return services_.mci.sendString(command, reply.data(), reply.size());
    }
    // Sends a voice1 command with a fresh reply buffer of `replyLength` characters filled with
    // `filler`, and gives the buffer with the reply in it.
    std::string query(const std::string& command, std::size_t replyLength, char filler);
    void showLength(Label& label, const std::string& reply, unsigned divisor, const char* unit);
    // After an open or play: when the sound server did not answer in time, closes voice1, tells
    // the user and answers true; the Play action then ends.
    bool serverDidNotAnswer(int result);

    PlayerServices services_;
    PlayerControls controls_;
    const LatestTake& latestTake_;
    ImageButton playButton_;
    bool playing_ = false; // what the last mode query found
};

// "#.0" of number / divisor: one rounded digit after the point, nothing before it below 1,
// no thousands separator ("1.5", ".5", ".0").
std::string formatTenths(unsigned long long number, unsigned divisor);

} // namespace murmora
