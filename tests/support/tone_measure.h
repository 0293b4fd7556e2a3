#pragma once
// Measures of a recorded or decoded tone, for the real audio tests.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace murmora::testing {

// One channel of sound at `rate`, full scale 1.
struct ToneMeasure {
    std::vector<double> samples;
    int rate = 44100;

    double rms() const {
        double squares = 0;
        for (const double sample : samples)
            squares += sample * sample;
        return samples.empty() ? 0 : std::sqrt(squares / static_cast<double>(samples.size()));
    }
    // The share of the power that lies at `hz` in the middle one of its blocks of 50 ms
    // (Goertzel): 1 for a pure tone of that frequency, whatever few blocks a sound server dropped
    // or repeated on a busy machine.
    double shareAt(double hz) const {
        const auto block = static_cast<std::size_t>(rate / 20);
        std::vector<double> shares;
        for (std::size_t from = 0; from + block <= samples.size(); from += block)
            shares.push_back(blockShareAt(hz, from, block));
        if (shares.empty()) return 0;
        const auto middle = shares.begin() + static_cast<std::ptrdiff_t>(shares.size() / 2);
        std::nth_element(shares.begin(), middle, shares.end());
        return *middle;
    }

private:
    double blockShareAt(double hz, std::size_t from, std::size_t count) const {
        const double step = 2 * std::numbers::pi * hz / rate;
        double real = 0;
        double imaginary = 0;
        double squares = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const double sample = samples[from + i];
            real += sample * std::cos(step * static_cast<double>(i));
            imaginary += sample * std::sin(step * static_cast<double>(i));
            squares += sample * sample;
        }
        return squares > 0 ? (real * real + imaginary * imaginary) / (static_cast<double>(count) / 2 * squares) : 0;
    }
};

} // namespace murmora::testing
