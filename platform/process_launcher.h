#pragma once
#include <string>
#include <system_error>
#include <vector>

namespace murmora {

// Starts an outside program without a shell and without waiting for it.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    [[nodiscard]] virtual std::error_code startDetached(const std::string& program,
                                                        const std::vector<std::string>& arguments,
                                                        const std::string& workingFolder) = 0;
};

} // namespace murmora
