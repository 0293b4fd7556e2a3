#pragma once
#include "platform/hotkeys.h"

namespace murmora {

// Both hotkeys granted, for the panel on the offscreen platform in the benchmarks: there are no
// keys to grab there, and a start-up warning box would wait for an answer.
class GrantedHotkeys final : public Hotkeys {
public:
    std::error_code registerHotkey(int, unsigned, unsigned) override { return {}; }
    void unregisterHotkey(int) override {}
    void setHotkeyHandler(std::function<void(int)>) override {}
};

} // namespace murmora
