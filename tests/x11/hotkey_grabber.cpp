// Another client's view of the hotkeys, for the tests: grabs Ctrl+Alt+<letter> on the root window
// under every lock state, as any program that wants those keys would.
//   hotkey_grabber hold S   grab Ctrl+Alt+S, say "held" and keep it until stopped (exit 1 if refused)
//   hotkey_grabber try R S  exit 0 when every combination could be grabbed, 1 otherwise
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include <xcb/xcb.h>

#include "platform/x11/hotkey_decisions.h"
#include "platform/x11/xcb_key_grabs.h"

using namespace murmora::x11;

namespace {
int usage() {
    std::fputs("usage: hotkey_grabber hold|try LETTER...\n", stderr);
    return 2;
}

std::vector<KeyGrab> ctrlAltGrabsOf(const XcbKeyGrabs& keyboard, char letter) {
    const auto combination = murmora::parseKeySequence(std::string("Ctrl+Alt+") + letter);
    const auto keys = combination ? xKeysOf(*combination, keyboard.altMask()) : std::nullopt;
    if (!keys) return {};
    return grabsFor(keyboard.keycodesOf(keys->keysym), keys->modifiers, lockCombinations(keyboard.lockMasks()));
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const bool hold = std::strcmp(argv[1], "hold") == 0;
    if (!hold && std::strcmp(argv[1], "try") != 0) return usage();

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fputs("hotkey_grabber: no X display\n", stderr);
        return 2;
    }
    XcbKeyGrabs keyboard(connection);
    bool all = true;
    for (int i = 2; i < argc; ++i) {
        const auto grabs = ctrlAltGrabsOf(keyboard, argv[i][0]);
        const auto outcomes = keyboard.grab(grabs);
        const bool had = !grabs.empty() && std::ranges::find(outcomes, false) == outcomes.end();
        std::printf("Ctrl+Alt+%s %s\n", argv[i], had ? "grabbed" : "refused");
        all = all && had;
        if (!hold) keyboard.ungrab(succeededGrabs(grabs, outcomes));
    }
    std::fflush(stdout);
    if (hold && all) {
        std::puts("held");
        std::fflush(stdout);
        pause(); // until a signal ends the process; the server releases the grabs with it
    }
    xcb_disconnect(connection);
    return all ? 0 : 1;
}
