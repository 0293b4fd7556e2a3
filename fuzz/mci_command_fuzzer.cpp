// Any command text with any reply length through the MCI service on a scripted backend.
// Paths are confined to a scratch folder: a command naming a path with a "/" is not sent.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_scratch.h"
#include "platform/mci/mci_string_service.h"
#include "tests/support/scripted_backend.h"

using namespace murmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string scratch = FuzzScratchFolder();
    if (size < 2) return 0;
    const std::size_t replyLength = (static_cast<std::size_t>(data[0]) << 8 | data[1]) % 2048;
    const std::string script(reinterpret_cast<const char*>(data + 2), size - 2);
    if (script.find('/') != std::string::npos) return 0;

    auto backend = std::make_unique<audio::ScriptedBackend>();
    audio::ScriptedBackend& device = *backend;
    mci::MciStringService service(std::move(backend), scratch);
    std::vector<char> reply(replyLength + 1, '\x7f');
    const std::vector<std::int16_t> frames(512, 1000);

    // Each line is one command; between commands the device delivers and pulls a little audio.
    std::size_t start = 0;
    while (start <= script.size()) {
        const std::size_t end = std::min(script.find('\n', start), script.size());
        service.sendString(std::string_view(script).substr(start, end - start), reply.data(), replyLength);
        if (reply[replyLength] != '\x7f') std::abort(); // written past the length it was given
        device.deliverCapture(frames);
        device.pullPlayback(256);
        start = end + 1;
    }
    return 0;
}
