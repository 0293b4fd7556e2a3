#pragma once
// The loudness of 16-bit sound as the panel shows it: the peak of a block of samples and its
// level in dB below full scale (dBFS). Free of every other part of the program, so that the
// audio thread and the rules that watch the input share the one arithmetic.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "core/texts.h"

namespace murmora {

// The magnitude of the lowest sample, -32768: 0 dBFS.
inline constexpr int kFullScalePeak = 32768;
// A sample this large either way has reached full scale: the input clips.
inline constexpr int kClipPeak = 32767;
// The foot of the scale the panel shows; anything quieter shows as nothing.
inline constexpr double kLevelScaleFloorDbfs = -60.0;

// The largest sample magnitude in `samples`, 0 to kFullScalePeak. Kept to a plain maximum and
// minimum so that it stays cheap enough for the audio thread.
constexpr int samplePeak(std::span<const std::int16_t> samples) noexcept {
    std::int16_t highest = 0;
    std::int16_t lowest = 0;
    for (const std::int16_t sample : samples) {
        highest = std::max(highest, sample);
        lowest = std::min(lowest, sample);
    }
    return std::max(static_cast<int>(highest), -static_cast<int>(lowest));
}

// The level of a peak in dBFS; minus infinity for digital silence.
inline double peakDbfs(int peak) {
    if (peak <= 0) return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(static_cast<double>(peak) / kFullScalePeak);
}

// The length in whole pixels of the level bar, `width` long at 0 dBFS and above: none at the
// scale's foot or below, the scale's share of `width` between.
inline int levelBarLength(double dbfs, int width) {
    if (!(dbfs > kLevelScaleFloorDbfs)) // minus infinity and NaN too
        return 0;
    const double fraction = dbfs >= 0.0 ? 1.0 : 1.0 - dbfs / kLevelScaleFloorDbfs;
    return static_cast<int>(std::lround(fraction * width));
}

// A level within the panel's scale, its foot to 0 dBFS; NaN at the foot.
inline double levelOnScale(double dbfs) {
    return std::clamp(std::isnan(dbfs) ? kLevelScaleFloorDbfs : dbfs, kLevelScaleFloorDbfs, 0.0);
}

// The level as screen readers read it, in whole dB on the panel's scale: "-12 dBFS", "below -60
// dBFS" at its foot, and ", clipped" after it once the input has reached full scale.
inline std::string levelReading(double dbfs, bool clipped) {
    const double shown = levelOnScale(dbfs);
    const std::string decibels = std::to_string(std::lround(shown));
    const std::string reading =
        shown <= kLevelScaleFloorDbfs ? translated("below %s dBFS", {decibels}) : translated("%s dBFS", {decibels});
    return clipped ? translated("%s, clipped", {reading}) : reading;
}

} // namespace murmora
