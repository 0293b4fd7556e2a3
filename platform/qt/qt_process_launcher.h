#pragma once
#include "platform/process_launcher.h"

namespace murmora {

// Starts a program through QProcess with an argument list: no shell ever parses the paths.
class QtProcessLauncher final : public ProcessLauncher {
public:
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override;
};

} // namespace murmora
