#include <gtest/gtest.h>

#include "platform/x11/hotkey_decisions.h"

namespace murmora::x11 {
namespace {

constexpr ModifierMask Shift = 1 << 0, Lock = 1 << 1, Control = 1 << 2, Mod1 = 1 << 3, Mod2 = 1 << 4, Mod3 = 1 << 5;
constexpr ModifierMask CtrlAlt = Control | Mod1;
constexpr std::uint16_t Button1 = 1 << 8;
constexpr Keycode R = 27, S = 39;

using Masks = std::vector<ModifierMask>;

TEST(LockCombinations, CoverEveryStateOfTheDistinctLocksOnly) {
    const std::pair<Masks, Masks> cases[] = {
        {{Lock, Mod2, Mod3}, {0, Lock, Mod2, Lock | Mod2, Mod3, Lock | Mod3, Mod2 | Mod3, Lock | Mod2 | Mod3}},
        {{Lock, Mod2, 0}, {0, Lock, Mod2, Lock | Mod2}},     // a lock the keymap lacks
        {{Lock, Mod2, Mod2}, {0, Lock, Mod2, Lock | Mod2}},  // two locks on one modifier
        {{0, 0, 0}, {0}},
        {{}, {0}},
    };
    for (const auto& [locks, expected] : cases) EXPECT_EQ(lockCombinations(locks), expected);
}

TEST(ModifierMap, GivesTheRowThatHoldsTheKeyOrNothing) {
    ModifierMap map;
    map[1] = {66, 0};    // Lock: CapsLock
    map[3] = {64, 108};  // Mod1: Alt_L, Alt_R
    map[4] = {77, 0};    // Mod2: NumLock
    // 0 fills the map's empty slots and names no key.
    const std::pair<std::vector<Keycode>, ModifierMask> cases[] = {{{77}, Mod2}, {{108}, Mod1}, {{78}, 0}, {{}, 0}, {{0}, 0}};
    for (const auto& [keys, mask] : cases) EXPECT_EQ(modifierMaskHolding(map, keys), mask) << keys.size();
}

TEST(VirtualKeys, UpperCaseLettersAndDigitsOnly) {
    EXPECT_EQ(keysymOfVirtualKey(0x52), Keysym{'r'});
    EXPECT_EQ(keysymOfVirtualKey('7'), Keysym{'7'});
    EXPECT_EQ(keysymOfVirtualKey('a'), std::nullopt) << "virtual keys name letters in upper case";
    EXPECT_EQ(keysymOfVirtualKey(0x70), std::nullopt);  // F1
    EXPECT_EQ(keysymOfVirtualKey(0), std::nullopt);
}

TEST(Grabs, OnePerKeycodeAndLockStateAndOnlyTheSucceededAreGivenBack) {
    EXPECT_EQ(grabsFor(std::vector<Keycode>{R, 99}, CtrlAlt, Masks{0, Mod2}),
              (std::vector<KeyGrab>{{R, CtrlAlt}, {R, CtrlAlt | Mod2}, {99, CtrlAlt}, {99, CtrlAlt | Mod2}}));
    EXPECT_TRUE(grabsFor(std::vector<Keycode>{}, CtrlAlt, Masks{0}).empty()) << "a key missing from the keyboard";
    const std::vector<KeyGrab> grabs{{S, CtrlAlt}, {S, CtrlAlt | Lock}, {S, CtrlAlt | Mod2}};
    EXPECT_EQ(succeededGrabs(grabs, {true, false, true}), (std::vector<KeyGrab>{{S, CtrlAlt}, {S, CtrlAlt | Mod2}}));
}

class Matcher : public testing::Test {
protected:
    Matcher() {
        matcher.setLockMask(Lock | Mod2);
        matcher.add({0, {R}, CtrlAlt});
        matcher.add({1, {S}, CtrlAlt});
    }
    auto press(Keycode key, std::uint16_t state, Timestamp time = 0) { return matcher.onKeyEvent({KeyEventKind::press, key, state, time}); }
    auto release(Keycode key, std::uint16_t state, Timestamp time) { return matcher.onKeyEvent({KeyEventKind::release, key, state, time}); }
    HotkeyMatcher matcher;
};

TEST_F(Matcher, OnlyAPressWithExactlyCtrlAltBesideLocksAndButtonsIsAHotkey) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(press(S, CtrlAlt, 150), 1ul) << "holding one hotkey does not hold the other";
    EXPECT_EQ(release(R, CtrlAlt | Mod2, 160), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt | Lock | Mod2 | Button1, 200), 0ul);
    release(R, CtrlAlt, 210);
    for (const int state : std::initializer_list<int>{CtrlAlt | Shift, Control, Mod1, 0, CtrlAlt | Mod3}) {
        EXPECT_EQ(press(R, static_cast<std::uint16_t>(state), 300), std::nullopt) << "state " << state << " (Mod3 is no lock here)";
    }
    EXPECT_EQ(press(40, CtrlAlt, 400), std::nullopt) << "another key";
    EXPECT_EQ(press(R, CtrlAlt, 500), 0ul) << "a key held without the modifiers swallows nothing";
    release(S, CtrlAlt, 850);
    matcher.remove(0);
    EXPECT_TRUE(!matcher.has(0) && matcher.has(1));
    EXPECT_EQ(press(R, CtrlAlt, 900), std::nullopt) << "removed";
    EXPECT_EQ(press(S, CtrlAlt, 900), 1ul);
}

TEST_F(Matcher, AHeldKeyCountsOnceWhicheverWayItRepeats) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(press(R, CtrlAlt, 600), std::nullopt);  // repeats as presses
    EXPECT_EQ(release(R, CtrlAlt, 640), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 640), std::nullopt);  // repeats as release-press pairs
    EXPECT_EQ(release(R, CtrlAlt, 700), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 900), 0ul) << "a new press after the release counts";
}

} // namespace
} // namespace murmora::x11
