#pragma once
#include <string>
#include <vector>

namespace murmora {

// Starts an outside program without a shell and without waiting for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) = 0;
};

} // namespace murmora
