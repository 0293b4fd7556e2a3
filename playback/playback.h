#pragma once
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
    Context& ctx_;
};

} // namespace murmora
