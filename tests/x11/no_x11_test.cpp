// Without an X connection there are no hotkeys to have, and saying so must not crash.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/x11/xcb_hotkeys.h"

namespace murmora {
namespace {

TEST(NoX11, NoApplicationMeansNoHotkeys) {
    ASSERT_EQ(qGuiApp, nullptr);
    EXPECT_EQ(makeX11Hotkeys(), nullptr);
}

TEST(NoX11, TheOffscreenPlatformMeansNoHotkeys) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "no_x11_test";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    EXPECT_EQ(makeX11Hotkeys(), nullptr);
}

} // namespace
} // namespace murmora
