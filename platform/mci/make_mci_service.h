#pragma once
#include "platform/mci_service.h"

#include <memory>

namespace murmora {

// The service the program uses: PortAudio devices, takes recorded into the user's cache folder.
std::unique_ptr<MciService> makeMciService();

} // namespace murmora
