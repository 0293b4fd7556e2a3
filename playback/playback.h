#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "shell/context.h"

namespace murmora {

// Plays the latest saved take over the device voice1 and waits for its end while the
// window keeps answering.
class Playback {
public:
    explicit Playback(Context& ctx) : ctx_(ctx) {}

    void PlayAction();
    bool IsWavePlaying(std::string sAlias);
    void Command3Click();
    void Command4Click();

private:
    // The take the Play button plays, or nothing when there is none on disk.
    std::optional<std::string> ChooseFile() const;
    // Sends a voice1 command with `buffer` as its reply buffer; the result code goes to
    // MciResult and the buffer, with the reply copied in, is returned.
    std::string SendPlaybackQuery(const std::string& command, std::string buffer);
    void ShowLength(Label& label, const std::string& reply, unsigned divisor, const char* unit);
    // After an open or play: when the sound server did not answer in time, closes voice1, tells
    // the user and answers true; the Play action then ends.
    bool ServerDidNotAnswer();

    Context& ctx_;
};

// "#.0" of number / divisor: one rounded digit after the point, nothing before it below 1,
// no thousands separator ("1.5", ".5", ".0").
std::string FormatTenths(unsigned long long number, unsigned divisor);

} // namespace murmora
