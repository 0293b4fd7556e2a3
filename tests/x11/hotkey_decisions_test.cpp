#include <gtest/gtest.h>

#include "platform/x11/hotkey_decisions.h"

namespace murmora::x11 {
namespace {

constexpr ModifierMask Shift = 1 << 0, Lock = 1 << 1, Control = 1 << 2, Mod1 = 1 << 3, Mod2 = 1 << 4, Mod3 = 1 << 5;
constexpr ModifierMask CtrlAlt = Control | Mod1;
constexpr std::uint16_t Button1 = 1 << 8;
constexpr Keycode R = 27, S = 39;

using Masks = std::vector<ModifierMask>;

TEST(LockCombinations, CoverEveryStateOfThreeDistinctLocks) {
    EXPECT_EQ(lockCombinations(Masks{Lock, Mod2, Mod3}),
              (Masks{0, Lock, Mod2, Lock | Mod2, Mod3, Lock | Mod3, Mod2 | Mod3, Lock | Mod2 | Mod3}));
}

TEST(LockCombinations, DropTheDuplicatesOfALockTheKeymapLacks) {
    EXPECT_EQ(lockCombinations(Masks{Lock, Mod2, 0}), (Masks{0, Lock, Mod2, Lock | Mod2}));
}

TEST(LockCombinations, DropTheDuplicatesOfTwoLocksOnOneModifier) {
    EXPECT_EQ(lockCombinations(Masks{Lock, Mod2, Mod2}), (Masks{0, Lock, Mod2, Lock | Mod2}));
}

TEST(LockCombinations, AreThePlainStateAloneWithoutLocks) {
    EXPECT_EQ(lockCombinations(Masks{0, 0, 0}), Masks{0});
    EXPECT_EQ(lockCombinations(Masks{}), Masks{0});
}

TEST(ModifierMap, GivesTheRowThatHoldsTheKey) {
    ModifierMap map;
    map[1] = {66, 0};     // Lock: CapsLock
    map[3] = {64, 108};   // Mod1: Alt_L, Alt_R
    map[4] = {77, 0};     // Mod2: NumLock
    const std::vector<Keycode> numLock{77};
    const std::vector<Keycode> altR{108};
    EXPECT_EQ(modifierMaskHolding(map, numLock), Mod2);
    EXPECT_EQ(modifierMaskHolding(map, altR), Mod1);
}

TEST(ModifierMap, GivesNothingForAKeyNoRowHolds) {
    ModifierMap map;
    map[4] = {77, 0};
    const std::vector<Keycode> scrollLock{78};
    EXPECT_EQ(modifierMaskHolding(map, scrollLock), 0);
    EXPECT_EQ(modifierMaskHolding(map, std::vector<Keycode>{}), 0);
    EXPECT_EQ(modifierMaskHolding(map, std::vector<Keycode>{0}), 0) << "0 fills empty slots of the map";
}

TEST(VirtualKeys, LettersBecomeLowerCaseKeysymsAndDigitsStay) {
    EXPECT_EQ(keysymOfVirtualKey(0x52), Keysym{'r'});
    EXPECT_EQ(keysymOfVirtualKey(0x53), Keysym{'s'});
    EXPECT_EQ(keysymOfVirtualKey('7'), Keysym{'7'});
}

TEST(VirtualKeys, OthersAreRefused) {
    EXPECT_EQ(keysymOfVirtualKey('a'), std::nullopt) << "virtual keys name letters in upper case";
    EXPECT_EQ(keysymOfVirtualKey(0x70), std::nullopt); // F1
    EXPECT_EQ(keysymOfVirtualKey(0), std::nullopt);
}

TEST(Grabs, OnePerKeycodeAndLockCombination) {
    const std::vector<Keycode> keycodes{R, 99};
    const Masks locks{0, Mod2};
    EXPECT_EQ(grabsFor(keycodes, CtrlAlt, locks), (std::vector<KeyGrab>{{R, CtrlAlt},
                                                                         {R, CtrlAlt | Mod2},
                                                                         {99, CtrlAlt},
                                                                         {99, CtrlAlt | Mod2}}));
    EXPECT_TRUE(grabsFor(std::vector<Keycode>{}, CtrlAlt, locks).empty()) << "a key missing from the keyboard";
}

TEST(Grabs, ThoseThatSucceededAreTheOnesToGiveBack) {
    const std::vector<KeyGrab> grabs{{S, CtrlAlt}, {S, CtrlAlt | Lock}, {S, CtrlAlt | Mod2}, {S, CtrlAlt | Lock | Mod2}};
    const std::vector<bool> outcomes{true, true, false, true};
    EXPECT_EQ(succeededGrabs(grabs, outcomes),
              (std::vector<KeyGrab>{{S, CtrlAlt}, {S, CtrlAlt | Lock}, {S, CtrlAlt | Lock | Mod2}}));
}

class Matcher : public testing::Test {
protected:
    Matcher() {
        matcher.setLockMask(Lock | Mod2);
        matcher.add({0, {R}, CtrlAlt});
        matcher.add({1, {S}, CtrlAlt});
    }
    std::optional<unsigned long> press(Keycode key, std::uint16_t state, Timestamp time) {
        return matcher.onKeyEvent({KeyEventKind::Press, key, state, time});
    }
    std::optional<unsigned long> release(Keycode key, std::uint16_t state, Timestamp time) {
        return matcher.onKeyEvent({KeyEventKind::Release, key, state, time});
    }
    HotkeyMatcher matcher;
};

TEST_F(Matcher, APressWithExactlyCtrlAltGivesTheHotkeysId) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(press(S, CtrlAlt, 200), 1ul);
}

TEST_F(Matcher, LockKeysAndPointerButtonsDoNotMatter) {
    EXPECT_EQ(press(R, CtrlAlt | Mod2, 100), 0ul);
    EXPECT_EQ(release(R, CtrlAlt | Mod2, 150), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt | Lock | Mod2 | Button1, 200), 0ul);
}

TEST_F(Matcher, AnyOtherModifierSetMeansNoHotkey) {
    EXPECT_EQ(press(R, CtrlAlt | Shift, 100), std::nullopt);
    EXPECT_EQ(press(R, Control, 200), std::nullopt);
    EXPECT_EQ(press(R, Mod1, 300), std::nullopt);
    EXPECT_EQ(press(R, 0, 400), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt | Mod3, 500), std::nullopt) << "Mod3 is no lock on this keymap";
}

TEST_F(Matcher, OtherKeysAreNoHotkey) { EXPECT_EQ(press(40, CtrlAlt, 100), std::nullopt); }

TEST_F(Matcher, AReleaseIsNoHotkey) { EXPECT_EQ(release(R, CtrlAlt, 100), std::nullopt); }

TEST_F(Matcher, AHeldKeyRepeatingAsPressesCountsOnce) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(press(R, CtrlAlt, 600), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 640), std::nullopt);
    EXPECT_EQ(release(R, CtrlAlt, 700), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 900), 0ul) << "a new press after the release counts";
}

TEST_F(Matcher, AHeldKeyRepeatingAsReleasePressPairsCountsOnce) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(release(R, CtrlAlt, 600), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 600), std::nullopt);
    EXPECT_EQ(release(R, CtrlAlt, 640), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 640), std::nullopt);
    EXPECT_EQ(release(R, CtrlAlt, 700), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 900), 0ul);
}

TEST_F(Matcher, HoldingOneHotkeyDoesNotHoldTheOther) {
    EXPECT_EQ(press(R, CtrlAlt, 100), 0ul);
    EXPECT_EQ(press(S, CtrlAlt, 150), 1ul);
}

TEST_F(Matcher, AKeyHeldWithoutTheModifiersDoesNotSwallowTheNextHotkey) {
    EXPECT_EQ(press(R, 0, 100), std::nullopt);
    EXPECT_EQ(press(R, CtrlAlt, 200), 0ul) << "only presses of a hotkey are tracked: its release is certain";
}

TEST_F(Matcher, ARemovedHotkeyNoLongerMatches) {
    matcher.remove(0);
    EXPECT_FALSE(matcher.has(0));
    EXPECT_TRUE(matcher.has(1));
    EXPECT_EQ(press(R, CtrlAlt, 100), std::nullopt);
    EXPECT_EQ(press(S, CtrlAlt, 200), 1ul);
}

} // namespace
} // namespace murmora::x11
