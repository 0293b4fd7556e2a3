#pragma once
#include "platform/hotkeys.h"

namespace murmora {

// Both hotkeys granted, for the panel on the offscreen platform in the benchmarks: there are no
// keys to grab there, and a start-up warning box would wait for an answer.
class GrantedHotkeys final : public Hotkeys {
public:
    bool RegisterHotKey(int, unsigned, unsigned) override { return true; }
    void UnregisterHotKey(int) override {}
    void InstallFilter(std::function<void(unsigned long)>) override {}
};

} // namespace murmora
