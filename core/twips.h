#pragma once
#include <cmath>

namespace murmora {

// Twips, the unit the panel's design is written in: 1440 to the inch, 15 to a pixel at 96 dots
// per inch.
inline constexpr double kTwipsPerInch = 1440.0;

inline double twipsPerPixel(double dotsPerInch) { return kTwipsPerInch / dotsPerInch; }

// A length of the design in whole pixels of a screen.
inline int pixelsOfTwips(int twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips / twipsPerPixel(dotsPerInch)));
}

} // namespace murmora
