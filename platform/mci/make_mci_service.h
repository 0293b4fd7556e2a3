#pragma once
#include "platform/mci_service.h"
#include "platform/take_folder.h"

#include <memory>

namespace murmora {

// The service the program uses: the sound server's devices (PortAudio's where there is no
// server), takes recorded into the user's cache folder.
std::unique_ptr<MciService> makeMciService();

// The folder that service records its takes into.
std::unique_ptr<TakeFolder> makeTakeFolder();

} // namespace murmora
