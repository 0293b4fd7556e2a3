#pragma once
#include "platform/hotkeys.h"

namespace murmora {

// Hotkeys where the display offers no way to take a key combination for the whole desktop
// (no X connection): nothing can be registered, so nothing ever arrives.
class NoHotkeys final : public Hotkeys {
public:
    bool RegisterHotKey(int, unsigned, unsigned) override { return false; }
    void UnregisterHotKey(int) override {}
    void InstallFilter(std::function<void(unsigned long)>) override {}
};

} // namespace murmora
