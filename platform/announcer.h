#pragma once
#include <string>

namespace murmora {

// Tells screen readers, once, of something that happened on its own and that no control with
// the focus says: a take starting, pausing, resuming, ending, or saved where no message says
// so. It holds nothing up and shows nothing.
class Announcer {
public:
    virtual ~Announcer() = default;
    virtual void announce(const std::string& text) = 0;
};

} // namespace murmora
