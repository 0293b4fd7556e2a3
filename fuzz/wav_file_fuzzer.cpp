// Any bytes as a file that the playback device opens, measures and plays to its end.
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "fuzz/fuzz_scratch.h"
#include "platform/mci/mci_string_service.h"
#include "tests/support/scripted_backend.h"

using namespace murmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string scratch = FuzzScratchFolder();
    const std::string path = scratch + "/take under test.wav";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    auto backend = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& device = *backend;
    mci::MciStringService service(std::move(backend), scratch);
    char reply[256];
    for (const char* command : {"set voice1 time format ms", "status voice1 length", "set voice1 time format bytes",
                                "status voice1 length", "play voice1"}) {
        if (std::string(command) == "set voice1 time format ms" &&
            service.sendString("open " + path + " type waveaudio alias voice1", reply, sizeof reply) != 0) {
            return 0;
        }
        service.sendString(command, reply, sizeof reply);
    }
    // Pull the whole file through, a bounded number of buffers at most.
    for (int i = 0; i < 64 && !device.pullPlayback(4096).empty(); ++i) {
        service.sendString("status voice1 mode", reply, sizeof reply);
    }
    service.sendString("stop voice1", reply, sizeof reply);
    service.sendString("close voice1", reply, sizeof reply);
    return 0;
}
