#pragma once
// A take of a given size through the scripted backend, fed as fast as the take's writer drains
// its ring, so that nothing is lost and no device is needed.
#include "tests/support/scripted_backend.h"

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace murmora::bench {

// Delivers `mebibytes` of audio to the running capture stream of `backend`; false when none runs.
// The writer empties the ring (6 s of audio) every 200 ms: 8,820 frames every 10 ms put at most
// about 190,000 frames into it between two of its rounds, well under what it holds.
inline bool feedTake(audio::ScriptedBackend& backend, long long mebibytes) {
    constexpr std::size_t kBlockFrames = 8820;
    constexpr auto kBlockEvery = std::chrono::milliseconds(10);
    const std::vector<std::int16_t> block(kBlockFrames * 2, 1000);
    auto next = std::chrono::steady_clock::now();
    for (long long fed = 0; fed < mebibytes * 1024 * 1024 / 4; fed += kBlockFrames) {
        if (!backend.deliverCapture(block)) return false;
        next += kBlockEvery;
        std::this_thread::sleep_until(next);
    }
    return true;
}

} // namespace murmora::bench
