// Grabs against a real X server (the tests run under Xvfb): a second connection plays the
// other program that wants the same keys.
#include <algorithm>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

#include "platform/x11/xcb_hotkeys.h"
#include "platform/x11/xcb_key_grabs.h"

namespace murmora::x11 {
namespace {

constexpr unsigned CtrlAlt = MOD_ALT | MOD_CONTROL;
constexpr unsigned VK_R = 0x52, VK_S = 0x53;

class Connection {
public:
    Connection() : connection(xcb_connect(nullptr, nullptr)) {}
    ~Connection() { xcb_disconnect(connection); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    bool ok() const { return !xcb_connection_has_error(connection); }
    xcb_connection_t* get() const { return connection; }

private:
    xcb_connection_t* connection;
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
        if (!ours.ok() || !theirs.ok()) GTEST_FAIL() << "these tests need an X display (DISPLAY)";
    }

    // Every Ctrl+Alt+<letter> combination the lock keys can make on this keymap.
    std::vector<KeyGrab> ctrlAltVariantsOf(char letter) const {
        const ModifierMask ctrlAlt = XCB_MOD_MASK_CONTROL | probe.altMask();
        return grabsFor(probe.keycodesOf(*keysymOfVirtualKey(letter)), ctrlAlt, lockCombinations(probe.lockMasks()));
    }

    // Whether the other program can have `grab` now; it lets go of it again at once.
    bool freeForOthers(const KeyGrab& grab) {
        const KeyGrab one[]{grab};
        const bool had = probe.grab(one).front();
        if (had) probe.ungrab(one);
        return had;
    }

    int countFreeForOthers(const std::vector<KeyGrab>& grabs) {
        return static_cast<int>(std::ranges::count_if(grabs, [this](const KeyGrab& g) { return freeForOthers(g); }));
    }

    Connection ours, theirs;
    XcbKeyGrabs probe{theirs.get()};
};

TEST_F(Grabs, TheKeymapHasTheLocksAndAltWhereXvfbPutsThem) {
    EXPECT_EQ(probe.altMask(), XCB_MOD_MASK_1);
    const auto locks = probe.lockMasks();
    ASSERT_EQ(locks.size(), 3u);
    EXPECT_EQ(locks[0], XCB_MOD_MASK_LOCK);
    EXPECT_EQ(locks[1], XCB_MOD_MASK_2) << "NumLock";
    EXPECT_FALSE(probe.keycodesOf(*keysymOfVirtualKey('R')).empty());
}

TEST_F(Grabs, AGrabIsRefusedToOthersUntilItIsReleased) {
    XcbKeyGrabs keyboard(ours.get());
    const KeyGrab ctrlAltR{probe.keycodesOf('r').front(), XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1};
    const KeyGrab one[]{ctrlAltR};
    ASSERT_EQ(keyboard.grab(one), std::vector<bool>{true});
    EXPECT_FALSE(freeForOthers(ctrlAltR)) << "BadAccess for the second client";
    keyboard.ungrab(one);
    EXPECT_TRUE(freeForOthers(ctrlAltR));
}

TEST_F(Grabs, ARegisteredHotkeyHoldsEveryLockVariantUntilUnregistered) {
    XcbHotkeys hotkeys(ours.get());
    const auto variants = ctrlAltVariantsOf('R');
    ASSERT_EQ(variants.size(), 4u) << "CapsLock and NumLock; Xvfb's keymap has no ScrollLock modifier";

    ASSERT_TRUE(hotkeys.RegisterHotKey(0, CtrlAlt, VK_R));
    EXPECT_EQ(countFreeForOthers(variants), 0);

    hotkeys.UnregisterHotKey(0);
    EXPECT_EQ(countFreeForOthers(variants), 4);
}

TEST_F(Grabs, AHotkeyWithOneVariantTakenIsRefusedAndGivesBackTheOthers) {
    const auto variants = ctrlAltVariantsOf('S');
    const KeyGrab withNumLock{variants.front().keycode,
                              static_cast<ModifierMask>(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2)};
    const KeyGrab taken[]{withNumLock};
    Connection third;
    XcbKeyGrabs holder(third.get());
    ASSERT_EQ(holder.grab(taken), std::vector<bool>{true});

    XcbHotkeys hotkeys(ours.get());
    EXPECT_FALSE(hotkeys.RegisterHotKey(1, CtrlAlt, VK_S));
    EXPECT_EQ(countFreeForOthers(variants), 3) << "all but the one a third program holds";
    EXPECT_FALSE(freeForOthers(withNumLock));
}

TEST_F(Grabs, OneHotkeyTakenLeavesTheOtherToRegister) {
    Connection third;
    XcbHotkeys other(third.get());
    ASSERT_TRUE(other.RegisterHotKey(1, CtrlAlt, VK_S));

    XcbHotkeys hotkeys(ours.get());
    EXPECT_TRUE(hotkeys.RegisterHotKey(0, CtrlAlt, VK_R));
    EXPECT_FALSE(hotkeys.RegisterHotKey(1, CtrlAlt, VK_S));
    EXPECT_EQ(countFreeForOthers(ctrlAltVariantsOf('R')), 0);
    EXPECT_EQ(countFreeForOthers(ctrlAltVariantsOf('S')), 0) << "still the other program's";
    hotkeys.UnregisterHotKey(0);
    other.UnregisterHotKey(1);
}

TEST_F(Grabs, CombinationsThisKeyboardCannotExpressAreRefused) {
    XcbHotkeys hotkeys(ours.get());
    EXPECT_FALSE(hotkeys.RegisterHotKey(0, CtrlAlt | 4u, VK_R)) << "a modifier bit without meaning here";
    EXPECT_FALSE(hotkeys.RegisterHotKey(0, CtrlAlt, 0x70)) << "F1 is no letter or digit";
    EXPECT_EQ(countFreeForOthers(ctrlAltVariantsOf('R')), 4);
}

TEST_F(Grabs, AnIdAlreadyRegisteredIsRefused) {
    XcbHotkeys hotkeys(ours.get());
    ASSERT_TRUE(hotkeys.RegisterHotKey(0, CtrlAlt, VK_R));
    EXPECT_FALSE(hotkeys.RegisterHotKey(0, CtrlAlt, VK_S));
    EXPECT_EQ(countFreeForOthers(ctrlAltVariantsOf('S')), 4);
    hotkeys.UnregisterHotKey(0);
}

} // namespace
} // namespace murmora::x11
