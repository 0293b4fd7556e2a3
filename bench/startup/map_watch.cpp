// Times a program's start-up the way the display sees it: from the moment it is launched to the
// MapNotify of its first top-level window, read from the X server's own events (no polling).
// Prints "<milliseconds> <pid>" and leaves the program running for the caller to measure and end.
// Use a display without a window manager: a manager maps its own frame, not the program's window.
// usage: map-watch PROGRAM [ARGS...]
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The _NET_WM_PID of a window, when it has one.
std::optional<pid_t> windowPid(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t pidAtom) {
    Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || xcb_get_property_value_length(reply.get()) < 4) return std::nullopt;
    return static_cast<pid_t>(*static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())));
}

pid_t launch(char** argv) {
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: map-watch PROGRAM [ARGS...]\n");
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "map-watch: no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
    const xcb_atom_t pidAtom = internAtom(connection, "_NET_WM_PID");

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = launch(argv + 1);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const auto seen = std::chrono::steady_clock::now();
        const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        const xcb_window_t window = mapped ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
        std::free(event);
        if (mapped && windowPid(connection, window, pidAtom) == pid) {
            const auto ms = std::chrono::duration<double, std::milli>(seen - start).count();
            std::printf("%.1f %d\n", ms, static_cast<int>(pid));
            xcb_disconnect(connection);
            return 0;
        }
    }
    std::fprintf(stderr, "map-watch: the display went away\n");
    return 1;
}
