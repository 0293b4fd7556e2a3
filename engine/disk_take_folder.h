#pragma once
#include "platform/take_folder.h"

#include <filesystem>
#include <memory>

namespace murmora::audio {

// The take folder on disk that the engine records into.
std::unique_ptr<TakeFolder> makeTakeFolder(std::filesystem::path folder);

} // namespace murmora::audio
