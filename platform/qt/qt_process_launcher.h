#pragma once
#include "platform/process_launcher.h"

namespace murmora::qt {

// Starts a program through QProcess with an argument list: no shell ever parses the paths. A
// program that cannot be run is told by the system's reason (not executable, missing).
class QtProcessLauncher final : public ProcessLauncher {
public:
    std::error_code startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& workingFolder) override;
};

} // namespace murmora::qt
