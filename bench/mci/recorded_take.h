#pragma once
// A take of a given size in the device capture, fed through the scripted backend as fast as the
// take's writer keeps up, so that nothing is lost and no device is needed.
#include "platform/mci/mci_string_service.h"
#include "tests/support/scripted_backend.h"

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace murmora::bench {

// "open new" and "record" on `service`, then `mebibytes` of audio; false when no take opened.
inline bool recordTake(mci::MciStringService& service, audio::ScriptedBackend& backend, long long mebibytes) {
    if (service.sendString("open new type waveaudio alias capture", nullptr, 0) != 0 ||
        service.sendString("record capture", nullptr, 0) != 0)
        return false;
    const auto& recorder = dynamic_cast<const mci::CaptureDevice&>(*service.device("capture")).recorder();
    constexpr std::size_t kBlockFrames = 4410;
    const std::vector<std::int16_t> block(kBlockFrames * 2, 1000);
    for (long long fed = 0; fed < mebibytes * 1024 * 1024 / 4; fed += kBlockFrames) {
        // Keep the ring under half full, so that nothing is lost while the disk catches up.
        while (recorder.bufferedFrames() > recorder.ringCapacityFrames() / 2)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        backend.deliverCapture(block);
    }
    return true;
}

} // namespace murmora::bench
