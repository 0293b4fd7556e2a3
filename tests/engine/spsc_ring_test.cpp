#include "engine/spsc_ring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <thread>
#include <vector>

namespace murmora::audio {
namespace {

using Samples = std::vector<std::int16_t>;

TEST(SpscRing, GivesBackWholeFramesInOrderAcrossTheWrap) {
    EXPECT_GE((SpscRing<std::int16_t>(1000, 2).capacityFrames()), 1000u);
    SpscRing<std::int16_t> ring(8, 2); // 16 samples
    Samples in(10), out(14);
    std::iota(in.begin(), in.end(), 1);
    ASSERT_EQ(ring.write(in.data(), 5), 5u);
    ASSERT_EQ(ring.read(out.data(), 3), 3u);
    ASSERT_EQ(ring.write(in.data(), 5), 5u); // crosses the end of the buffer
    ASSERT_EQ(ring.readableFrames(), 7u);
    ASSERT_EQ(ring.read(out.data(), 7), 7u);
    EXPECT_EQ(out, (Samples{7, 8, 9, 10, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // Full refuses what does not fit, and never splits a frame.
    SpscRing<std::int16_t> odd(4, 3); // 16 samples: 5 whole frames of 3
    Samples many(30, 7);
    EXPECT_EQ(odd.write(many.data(), 10), 5u);
    EXPECT_EQ(odd.write(many.data(), 1), 0u);
    EXPECT_EQ(odd.read(many.data(), 10), 5u);
    EXPECT_EQ(odd.read(many.data(), 10), 0u);
}

TEST(SpscRing, OneProducerAndOneConsumerSeeEverySampleOnceInOrder) {
    constexpr std::int32_t kSamples = 2'000'000;
    SpscRing<std::int32_t> ring(512, 1);
    std::thread producer([&] {
        std::vector<std::int32_t> block(97);
        for (std::int32_t next = 0; next < kSamples;) {
            std::iota(block.begin(), block.end(), next);
            next += static_cast<std::int32_t>(ring.write(block.data(), std::min<std::size_t>(97, kSamples - next)));
        }
    });
    std::int32_t expected = 0, outOfOrder = 0;
    std::vector<std::int32_t> block(61);
    while (expected < kSamples)
        for (std::size_t i = 0, got = ring.read(block.data(), block.size()); i < got; ++i)
            outOfOrder += block[i] != expected++;
    producer.join();
    EXPECT_EQ(outOfOrder, 0);
    EXPECT_EQ(ring.readableFrames(), 0u);
}

} // namespace
} // namespace murmora::audio
