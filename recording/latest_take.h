#pragma once
#include <string>

namespace murmora {

// The take the Play button plays: the one saved last.
class LatestTake {
public:
    virtual ~LatestTake() = default;
    // Its path; empty before any take was saved.
    virtual std::string latestTakePath() const = 0;
};

} // namespace murmora
