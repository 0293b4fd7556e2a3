// Grabs on Xvfb: a second connection plays the other program that wants the same keys.
#include <algorithm>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include "platform/x11/xcb_hotkeys.h"
#include "platform/x11/xcb_key_grabs.h"

namespace murmora::x11 {
namespace {

constexpr unsigned kCtrlAlt = kAltModifier | kControlModifier;
constexpr unsigned VK_R = 0x52, VK_S = 0x53;

struct Connection {
    Connection() : get(xcb_connect(nullptr, nullptr)) {}
    ~Connection() { xcb_disconnect(get); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    xcb_connection_t* const get;
};

// Xvfb resets itself whenever its last client leaves, and refuses connections meanwhile: one
// connection kept open for the whole run keeps the server steady between tests.
class ServerKeptUp : public testing::Environment {
    Connection keepAlive;
};
const auto* const serverKeptUp = testing::AddGlobalTestEnvironment(new ServerKeptUp);

class Grabs : public testing::Test {
protected:
    void SetUp() override {
        if (xcb_connection_has_error(ours.get) || xcb_connection_has_error(theirs.get)) {
            GTEST_FAIL() << "these tests need an X display (DISPLAY)";
        }
    }

    // Every Ctrl+Alt+<letter> combination the lock keys can make on this keymap.
    std::vector<KeyGrab> variantsOf(char letter) const {
        const ModifierMask ctrlAlt = XCB_MOD_MASK_CONTROL | probe.altMask();
        return grabsFor(probe.keycodesOf(*keysymOfVirtualKey(letter)), ctrlAlt, lockCombinations(probe.lockMasks()));
    }

    // Whether the other program could have `grab` now; it lets go of it again at once.
    bool freeForOthers(const KeyGrab& grab) {
        const KeyGrab one[]{grab};
        const bool had = probe.grab(one).front();
        if (had) probe.ungrab(one);
        return had;
    }

    long countFreeForOthers(char letter) {
        return std::ranges::count_if(variantsOf(letter), [this](const KeyGrab& g) { return freeForOthers(g); });
    }

    Connection ours, theirs;
    XcbKeyGrabs probe{theirs.get};
};

TEST_F(Grabs, ARegisteredHotkeyHoldsEveryLockVariantUntilUnregistered) {
    // Xvfb's keymap: Alt on Mod1, CapsLock and NumLock (Mod2) as locks, no ScrollLock modifier.
    EXPECT_EQ(probe.altMask(), XCB_MOD_MASK_1);
    const auto locks = probe.lockMasks();
    ASSERT_EQ(locks.size(), 3u);
    EXPECT_TRUE(locks[0] == XCB_MOD_MASK_LOCK && locks[1] == XCB_MOD_MASK_2);
    ASSERT_EQ(variantsOf('R').size(), 4u);
    XcbHotkeys hotkeys(ours.get);
    ASSERT_EQ(hotkeys.registerHotkey(0, kCtrlAlt, VK_R), std::error_code());
    EXPECT_EQ(countFreeForOthers('R'), 0);
    EXPECT_EQ(hotkeys.registerHotkey(0, kCtrlAlt, VK_S), std::errc::invalid_argument) << "id 0 is taken";
    EXPECT_EQ(hotkeys.registerHotkey(1, kCtrlAlt | 4u, VK_S), std::errc::invalid_argument)
        << "a modifier bit without meaning here";
    EXPECT_EQ(hotkeys.registerHotkey(1, kCtrlAlt, 0x70), std::errc::invalid_argument) << "F1 is no letter or digit";
    EXPECT_EQ(countFreeForOthers('S'), 4) << "a refused hotkey holds nothing";
    hotkeys.unregisterHotkey(0);
    EXPECT_EQ(countFreeForOthers('R'), 4);
}

TEST_F(Grabs, AHotkeyWithOneVariantTakenIsRefusedAndGivesBackTheOthers) {
    const KeyGrab withNumLock[]{{variantsOf('S').front().keycode,
                                 static_cast<ModifierMask>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2)}};
    Connection third;
    XcbKeyGrabs holder(third.get);
    ASSERT_EQ(holder.grab(withNumLock), std::vector<bool>{true});

    XcbHotkeys hotkeys(ours.get);
    EXPECT_EQ(hotkeys.registerHotkey(1, kCtrlAlt, VK_S), std::errc::device_or_resource_busy);
    EXPECT_EQ(countFreeForOthers('S'), 3) << "all but the one a third program holds";
    EXPECT_EQ(hotkeys.registerHotkey(0, kCtrlAlt, VK_R), std::error_code()) << "Ctrl+Alt+R is still free";
    EXPECT_EQ(countFreeForOthers('R'), 0);
    hotkeys.unregisterHotkey(0);
}

} // namespace
} // namespace murmora::x11
