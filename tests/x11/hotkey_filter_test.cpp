// The hotkeys inside a Qt application on Xvfb, with keys typed by xdotool through XTEST.
#include <algorithm>

#include <gtest/gtest.h>

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QWindow>
#include <xcb/xcb.h>

#include "platform/x11/xcb_hotkeys.h"
#include "platform/x11/xcb_key_grabs.h"

namespace murmora {
namespace {

struct SeenKey {
    bool press;
    xcb_keycode_t keycode;
    bool operator==(const SeenKey&) const = default;
};

// Notes the key events that the hotkeys' filter let through to the rest of the application.
class KeyEventsPassedOn : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_key_press_event_t*>(message);
        const auto type = event->response_type & ~0x80;
        if (type == XCB_KEY_PRESS || type == XCB_KEY_RELEASE) seen.push_back({type == XCB_KEY_PRESS, event->detail});
        return false;
    }
    long count(SeenKey key) const { return std::ranges::count(seen, key); }
    std::vector<SeenKey> seen;
};

xcb_connection_t* qtConnection() { return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection(); }

class HotkeyFilter : public testing::Test {
protected:
    void SetUp() override {
        hotkeys = makeX11Hotkeys();
        ASSERT_NE(hotkeys, nullptr) << "needs the xcb platform on an X display";
        qGuiApp->installNativeEventFilter(&passedOn); // runs after the hotkeys' filter, installed later
        ASSERT_EQ(hotkeys->registerHotkey(0, kAltModifier | kControlModifier, 0x52), std::error_code());
        ASSERT_EQ(hotkeys->registerHotkey(1, kAltModifier | kControlModifier, 0x53), std::error_code());
        hotkeys->setHotkeyHandler([this](unsigned long id) { delivered.push_back(id); });
        keyR = keyboard.keycodesOf('r').front();
    }
    void TearDown() override {
        if (numLockOn()) type({"key", "Num_Lock"});
        if (hotkeys) {
            hotkeys->unregisterHotkey(0);
            hotkeys->unregisterHotkey(1);
        }
    }

    static void type(const QStringList& arguments) { ASSERT_EQ(QProcess::execute("xdotool", arguments), 0); }

    // Runs the event loop until `count` hotkeys have arrived, or two seconds have passed.
    void waitForHotkeys(std::size_t count) {
        QElapsedTimer clock;
        clock.start();
        while (delivered.size() < count && clock.elapsed() < 2000) {
            QGuiApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(5);
        }
    }

    bool numLockOn() const {
        xcb_connection_t* connection = qtConnection();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        auto* reply = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
        const bool on = reply && (reply->mask & XCB_MOD_MASK_2);
        std::free(reply);
        return on;
    }

    std::unique_ptr<Hotkeys> hotkeys;
    KeyEventsPassedOn passedOn;
    std::vector<unsigned long> delivered;
    x11::XcbKeyGrabs keyboard{qtConnection()};
    xcb_keycode_t keyR = 0;
};

TEST_F(HotkeyFilter, CtrlAltRAndSDeliverTheirIdsWithNumLockOffAndOnButNotWithShift) {
    type({"key", "ctrl+alt+r"});
    type({"key", "ctrl+alt+shift+r"});
    type({"key", "ctrl+alt+s"}); // delivered after anything Shift+R had delivered
    waitForHotkeys(2);
    type({"key", "Num_Lock"});
    ASSERT_TRUE(numLockOn());
    type({"key", "ctrl+alt+r"});
    type({"key", "ctrl+alt+s"});
    waitForHotkeys(4);
    EXPECT_EQ(delivered, (std::vector<unsigned long>{0, 1, 0, 1}));
    // The hotkeys' presses are swallowed, their releases passed on (each before the next S arrives).
    EXPECT_EQ(passedOn.count({true, keyR}), 0);
    EXPECT_EQ(passedOn.count({false, keyR}), 2);
}

TEST_F(HotkeyFilter, AHeldHotkeyActsOnceHoweverLongItRepeats) {
    type({"keydown", "ctrl+alt+r"});
    QElapsedTimer held;
    held.start();
    while (held.elapsed() < 1500)
        QGuiApplication::processEvents(QEventLoop::AllEvents, 50);
    type({"keyup", "ctrl+alt+r"});
    type({"key", "ctrl+alt+s"});
    waitForHotkeys(2);
    EXPECT_EQ(delivered, (std::vector<unsigned long>{0, 1}));
    if (passedOn.count({true, keyR}) == 0) GTEST_SKIP() << "this X server did not repeat the held key";
}

TEST_F(HotkeyFilter, OtherKeysReachTheFocusedWindowUntouched) {
    QWindow window;
    window.resize(100, 100);
    window.show();
    type({"windowfocus", "--sync", QString::number(window.winId())});
    type({"key", "r"});
    type({"key", "ctrl+alt+s"});
    waitForHotkeys(1);
    EXPECT_EQ(passedOn.count({true, keyR}), 1);
    EXPECT_EQ(passedOn.count({false, keyR}), 1);
}

} // namespace
} // namespace murmora

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS(); // listing needs no display
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
