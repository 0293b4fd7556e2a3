#include "platform/audio/spsc_ring.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <thread>
#include <vector>

namespace murmora::audio {
namespace {

TEST(SpscRing, HoldsAtLeastWhatWasAskedFor) {
    SpscRing<std::int16_t> ring(1000, 2);
    EXPECT_GE(ring.capacityFrames(), 1000u);
}

TEST(SpscRing, GivesBackFramesInOrderAcrossTheWrap) {
    SpscRing<std::int16_t> ring(8, 2); // 16 samples
    std::vector<std::int16_t> in(10);
    std::iota(in.begin(), in.end(), 1);
    std::vector<std::int16_t> out(10);
    ASSERT_EQ(ring.write(in.data(), 5), 5u);
    ASSERT_EQ(ring.read(out.data(), 3), 3u);
    ASSERT_EQ(ring.write(in.data(), 5), 5u); // crosses the end of the buffer
    ASSERT_EQ(ring.readableFrames(), 7u);
    std::vector<std::int16_t> rest(14);
    ASSERT_EQ(ring.read(rest.data(), 7), 7u);
    EXPECT_EQ(std::vector<std::int16_t>(rest.begin(), rest.begin() + 4), (std::vector<std::int16_t>{7, 8, 9, 10}));
    EXPECT_EQ(std::vector<std::int16_t>(rest.begin() + 4, rest.end()), in);
}

TEST(SpscRing, RefusesWhatDoesNotFitAndNeverSplitsAFrame) {
    SpscRing<std::int16_t> ring(4, 3); // 16 samples: 5 whole frames of 3
    std::vector<std::int16_t> in(30, 7);
    EXPECT_EQ(ring.write(in.data(), 10), 5u);
    EXPECT_EQ(ring.write(in.data(), 1), 0u);
    std::vector<std::int16_t> out(30);
    EXPECT_EQ(ring.read(out.data(), 10), 5u);
    EXPECT_EQ(ring.read(out.data(), 10), 0u);
}

TEST(SpscRing, OneProducerAndOneConsumerSeeEverySampleOnce) {
    constexpr std::int32_t kSamples = 2'000'000;
    SpscRing<std::int32_t> ring(512, 1);
    std::thread producer([&] {
        std::int32_t next = 0;
        std::vector<std::int32_t> block(97);
        while (next < kSamples) {
            const auto count = std::min<std::int32_t>(static_cast<std::int32_t>(block.size()), kSamples - next);
            std::iota(block.begin(), block.begin() + count, next);
            next += static_cast<std::int32_t>(ring.write(block.data(), static_cast<std::size_t>(count)));
        }
    });
    std::int32_t expected = 0;
    bool inOrder = true;
    std::vector<std::int32_t> block(61);
    while (expected < kSamples) {
        const std::size_t got = ring.read(block.data(), block.size());
        for (std::size_t i = 0; i < got; ++i)
            inOrder = inOrder && block[i] == expected++;
    }
    producer.join();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(ring.readableFrames(), 0u);
}

} // namespace
} // namespace murmora::audio
