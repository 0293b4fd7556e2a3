#include "platform/portal/press_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace murmora::portal {
namespace {

// One signal from the portal: Activated (true) or Deactivated, at a time in milliseconds.
struct Signal {
    bool activated;
    std::uint64_t atMs;
};

struct PressCase {
    const char* name;
    std::vector<Signal> signals;
    int presses;
};

void PrintTo(const PressCase& c, std::ostream* out) { *out << c.name; }

class PressFilterTest : public ::testing::TestWithParam<PressCase> {};

TEST_P(PressFilterTest, CountsEachPressOnce) {
    PressFilter filter;
    int presses = 0;
    for (const Signal& signal : GetParam().signals) {
        if (!signal.activated) {
            filter.deactivated(0);
        } else if (filter.activated(0, signal.atMs)) {
            ++presses;
        }
    }
    EXPECT_EQ(presses, GetParam().presses);
}

INSTANTIATE_TEST_SUITE_P(
    Signals, PressFilterTest,
    ::testing::Values(PressCase{"PressAndRelease", {{true, 100}, {false, 180}}, 1},
                      PressCase{
                          "HeldWithRepeats", {{true, 100}, {true, 600}, {true, 633}, {true, 666}, {false, 700}}, 1},
                      PressCase{"QuickSecondPress", {{true, 100}, {false, 150}, {true, 250}, {false, 300}}, 2},
                      PressCase{"ReleaseNeverSent", {{true, 100}, {true, 5000}}, 2},
                      PressCase{"HeldLongWithoutRelease", {{true, 100}, {true, 700}, {true, 1300}, {true, 1900}}, 1},
                      PressCase{"ClockWentBack", {{true, 5000}, {true, 100}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PressFilter, ShortcutsAreHeldApart) {
    PressFilter filter;
    ASSERT_TRUE(filter.activated(0, 100));
    EXPECT_TRUE(filter.activated(1, 120));
}

} // namespace
} // namespace murmora::portal
