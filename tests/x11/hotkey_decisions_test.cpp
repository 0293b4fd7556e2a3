#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "platform/x11/hotkey_decisions.h"

namespace murmora::x11 {
namespace {

constexpr ModifierMask kShift = 1 << 0, kLock = 1 << 1, kControl = 1 << 2, kMod1 = 1 << 3, kMod2 = 1 << 4,
                       kMod3 = 1 << 5;
constexpr ModifierMask kCtrlAlt = kControl | kMod1;
constexpr std::uint16_t kButton1 = 1 << 8;
constexpr Keycode kKeyR = 27, kKeyS = 39;

using Masks = std::vector<ModifierMask>;

TEST(LockCombinations, CoverEveryStateOfTheDistinctLocksOnly) {
    const std::pair<Masks, Masks> cases[] = {
        {{kLock, kMod2, kMod3},
         {0, kLock, kMod2, kLock | kMod2, kMod3, kLock | kMod3, kMod2 | kMod3, kLock | kMod2 | kMod3}},
        {{kLock, kMod2, 0}, {0, kLock, kMod2, kLock | kMod2}},     // a lock the keymap lacks
        {{kLock, kMod2, kMod2}, {0, kLock, kMod2, kLock | kMod2}}, // two locks on one modifier
        {{0, 0, 0}, {0}},
        {{}, {0}},
    };
    for (const auto& [locks, expected] : cases)
        EXPECT_EQ(lockCombinations(locks), expected);
}

TEST(ModifierMap, GivesTheRowThatHoldsTheKeyOrNothing) {
    ModifierMap map;
    map[1] = {66, 0};   // kLock: CapsLock
    map[3] = {64, 108}; // kMod1: Alt_L, Alt_R
    map[4] = {77, 0};   // kMod2: NumLock
    // 0 fills the map's empty slots and names no key.
    const std::pair<std::vector<Keycode>, ModifierMask> cases[] = {
        {{77}, kMod2}, {{108}, kMod1}, {{78}, 0}, {{}, 0}, {{0}, 0}};
    for (const auto& [keys, mask] : cases)
        EXPECT_EQ(modifierMaskHolding(map, keys), mask) << keys.size();
}

// The keysym is the key's lower-case letter or its digit; Alt is the modifier the keymap gives it.
TEST(KeySequences, BecomeAKeysymAndAModifierMaskOrAreRefused) {
    const std::tuple<const char*, ModifierMask, std::optional<XKeys>> cases[] = {
        {"Ctrl+Alt+R", kMod1, XKeys{'r', kCtrlAlt}},
        {"ctrl+alt+s", kMod1, XKeys{'s', kCtrlAlt}},
        {"Alt+Ctrl+7", kMod3, XKeys{'7', kControl | kMod3}},
        {"Shift+Z", kMod1, XKeys{'z', kShift}},
        {"Q", kMod1, XKeys{'q', 0}},
        {"Ctrl+Alt+R", 0, std::nullopt}, // a keymap without Alt
        {"Ctrl+Ctrl+R", kMod1, std::nullopt},
        {"Meta+R", kMod1, std::nullopt},
        {"Ctrl+F1", kMod1, std::nullopt},
        {"Ctrl+", kMod1, std::nullopt},
        {"Ctrl+Alt", kMod1, std::nullopt},
        {"Ctrl+-", kMod1, std::nullopt},
        {"", kMod1, std::nullopt},
    };
    for (const auto& [keys, altMask, expected] : cases) {
        const auto combination = parseKeySequence(keys);
        EXPECT_EQ(combination ? xKeysOf(*combination, altMask) : std::nullopt, expected) << keys;
    }
}

TEST(Grabs, OnePerKeycodeAndLockStateAndOnlyTheSucceededAreGivenBack) {
    EXPECT_EQ(
        grabsFor(std::vector<Keycode>{kKeyR, 99}, kCtrlAlt, Masks{0, kMod2}),
        (std::vector<KeyGrab>{{kKeyR, kCtrlAlt}, {kKeyR, kCtrlAlt | kMod2}, {99, kCtrlAlt}, {99, kCtrlAlt | kMod2}}));
    EXPECT_TRUE(grabsFor(std::vector<Keycode>{}, kCtrlAlt, Masks{0}).empty()) << "a key missing from the keyboard";
    const std::vector<KeyGrab> grabs{{kKeyS, kCtrlAlt}, {kKeyS, kCtrlAlt | kLock}, {kKeyS, kCtrlAlt | kMod2}};
    EXPECT_EQ(succeededGrabs(grabs, {true, false, true}),
              (std::vector<KeyGrab>{{kKeyS, kCtrlAlt}, {kKeyS, kCtrlAlt | kMod2}}));
}

class Matcher : public testing::Test {
protected:
    Matcher() {
        matcher.setLockMask(kLock | kMod2);
        matcher.add({0, {kKeyR}, kCtrlAlt});
        matcher.add({1, {kKeyS}, kCtrlAlt});
    }
    auto press(Keycode key, std::uint16_t state, Timestamp time = 0) {
        return matcher.onKeyEvent({KeyEventKind::press, key, state, time});
    }
    auto release(Keycode key, std::uint16_t state, Timestamp time) {
        return matcher.onKeyEvent({KeyEventKind::release, key, state, time});
    }
    HotkeyMatcher matcher;
};

TEST_F(Matcher, OnlyAPressWithExactlyCtrlAltBesideLocksAndButtonsIsAHotkey) {
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 100), 0ul);
    EXPECT_EQ(press(kKeyS, kCtrlAlt, 150), 1ul) << "holding one hotkey does not hold the other";
    EXPECT_EQ(release(kKeyR, kCtrlAlt | kMod2, 160), std::nullopt);
    EXPECT_EQ(press(kKeyR, kCtrlAlt | kLock | kMod2 | kButton1, 200), 0ul);
    release(kKeyR, kCtrlAlt, 210);
    for (const int state : std::initializer_list<int>{kCtrlAlt | kShift, kControl, kMod1, 0, kCtrlAlt | kMod3}) {
        EXPECT_EQ(press(kKeyR, static_cast<std::uint16_t>(state), 300), std::nullopt)
            << "state " << state << " (kMod3 is no lock here)";
    }
    EXPECT_EQ(press(40, kCtrlAlt, 400), std::nullopt) << "another key";
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 500), 0ul) << "a key held without the modifiers swallows nothing";
    release(kKeyS, kCtrlAlt, 850);
    matcher.remove(0);
    EXPECT_TRUE(!matcher.has(0) && matcher.has(1));
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 900), std::nullopt) << "removed";
    EXPECT_EQ(press(kKeyS, kCtrlAlt, 900), 1ul);
}

TEST_F(Matcher, AHeldKeyCountsOnceWhicheverWayItRepeats) {
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 100), 0ul);
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 600), std::nullopt); // repeats as presses
    EXPECT_EQ(release(kKeyR, kCtrlAlt, 640), std::nullopt);
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 640), std::nullopt); // repeats as release-press pairs
    EXPECT_EQ(release(kKeyR, kCtrlAlt, 700), std::nullopt);
    EXPECT_EQ(press(kKeyR, kCtrlAlt, 900), 0ul) << "a new press after the release counts";
}

} // namespace
} // namespace murmora::x11
