#include "core/mci_commands.h"

namespace murmora::mci_commands {

std::string quotedPath(const std::string& path) { return '"' + path + '"'; }

std::string saveTake(const std::string& path) { return "save capture " + quotedPath(path); }

std::string openPlayback(const std::string& path) {
    return "open " + quotedPath(path) + " type waveaudio alias voice1";
}

} // namespace murmora::mci_commands
