#include <gtest/gtest.h>

#include <utility>

#include "platform/portal/portal_hotkeys.h"

namespace murmora {
namespace {

TEST(PortalTriggers, AreTheModifiersInCapitalsAndTheKeysymsName) {
    const std::pair<const char*, const char*> cases[] = {
        {"Ctrl+Alt+R", "CTRL+ALT+r"},
        {"alt+ctrl+s", "CTRL+ALT+s"},
        {"Shift+Ctrl+7", "CTRL+SHIFT+7"},
        {"Q", "q"},
    };
    for (const auto& [keys, trigger] : cases)
        EXPECT_EQ(portalTrigger(*parseKeySequence(keys)).toStdString(), trigger) << keys;
}

TEST(ShortcutSettings, AreNamedForTheDesktopsKnown) {
    const std::pair<const char*, const char*> cases[] = {
        {"KDE", "System Settings, Shortcuts"},
        {"ubuntu:GNOME", "Settings, Keyboard, Keyboard Shortcuts"},
        {"GNOME-Flashback:GNOME", "Settings, Keyboard, Keyboard Shortcuts"},
        {"KDEX", ""},
        {"sway", ""},
        {"", ""},
    };
    for (const auto& [desktop, place] : cases)
        EXPECT_EQ(shortcutSettingsOf(desktop), place) << desktop;
}

} // namespace
} // namespace murmora
