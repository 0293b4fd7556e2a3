#include "platform/level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace murmora {
namespace {

std::vector<std::int16_t> silence(std::size_t samples = 2205) { return std::vector<std::int16_t>(samples); }

std::vector<std::int16_t> withSample(std::int16_t sample, std::size_t at) {
    auto samples = silence();
    samples[at] = sample;
    return samples;
}

// 50 ms of a 440 Hz sine of `amplitude` at 44,100 Hz.
std::vector<std::int16_t> sine(double amplitude) {
    std::vector<std::int16_t> samples;
    for (int i = 0; i < 2205; ++i)
        samples.push_back(
            static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * 440 * i / 44100))));
    return samples;
}

TEST(Level, PeakAndDbfsOfSampleBlocks) {
    const struct {
        const char* name;
        std::vector<std::int16_t> samples;
        int peak;
        double dbfs;
    } cases[] = {{"no samples", {}, 0, -INFINITY},
                 {"silence", silence(), 0, -INFINITY},
                 {"lowest sample", withSample(-32768, 7), 32768, 0.0},
                 {"highest sample", withSample(32767, 2204), 32767, -0.000265},
                 {"-6 dBFS sine", sine(16384), 16384, -6.0206},
                 {"single peak", withSample(1000, 1000), 1000, -30.3090},
                 {"single negative peak", withSample(-1000, 0), 1000, -30.3090},
                 {"least step", withSample(1, 3), 1, -90.3090}};
    for (const auto& c : cases) {
        const int peak = samplePeak(c.samples);
        EXPECT_EQ(peak, c.peak) << c.name;
        if (std::isinf(c.dbfs))
            EXPECT_EQ(peakDbfs(peak), c.dbfs) << c.name;
        else
            EXPECT_NEAR(peakDbfs(peak), c.dbfs, 0.0001) << c.name;
    }
}

TEST(Level, BarLengthRunsFromNoneAtMinus60ToTheWholeWidthAt0DbfsInWholePixels) {
    const struct {
        double dbfs;
        int width, pixels;
    } cases[] = {{-INFINITY, 50, 0}, {NAN, 50, 0},   {-90.0, 50, 0}, {-60.0, 50, 0}, {-58.8, 50, 1}, {-59.4, 200, 2},
                 {-30.0, 50, 25},    {-6.0, 50, 45}, {-1.2, 50, 49}, {0.0, 50, 50},  {3.0, 50, 50},  {-30.0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(levelBarLength(c.dbfs, c.width), c.pixels) << c.dbfs << " dBFS over " << c.width;
}

TEST(Level, ReadingIsInWholeDbfsOnTheScaleAndSaysClipped) {
    const struct {
        double dbfs;
        bool clipped;
        const char* reading;
    } cases[] = {{-12.4, false, "-12 dBFS"},
                 {-0.3, false, "0 dBFS"},
                 {1.5, false, "0 dBFS"},
                 {-60.0, false, "below -60 dBFS"},
                 {-75.0, false, "below -60 dBFS"},
                 {-INFINITY, false, "below -60 dBFS"},
                 {NAN, false, "below -60 dBFS"},
                 {-12.4, true, "-12 dBFS, clipped"},
                 {-INFINITY, true, "below -60 dBFS, clipped"}};
    for (const auto& c : cases)
        EXPECT_EQ(levelReading(c.dbfs, c.clipped), c.reading) << c.dbfs;
}

} // namespace
} // namespace murmora
