#include "platform/qt/qt_panel_instance.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include <QSocketNotifier>

namespace murmora::qt {

namespace {

// How long a later start waits for the first panel to answer: it may still be starting.
constexpr std::chrono::milliseconds kAnswerDeadline{5000};
const char kAnswer[] = "raised\n";

// Why `folder` is not one that only this user may enter (a folder, not a link to one, of this
// user's own, closed to everyone else); empty when it is.
std::string whyNotOwnPrivateFolder(const std::string& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return std::string("cannot be read: ") + std::strerror(errno);
    if (S_ISLNK(info.st_mode)) return "is a link";
    if (!S_ISDIR(info.st_mode)) return "is no folder";
    if (info.st_uid != ::geteuid()) return "belongs to another user";
    if ((info.st_mode & 077) != 0) return "is open to other users";
    return {};
}

// $XDG_RUNTIME_DIR, else /tmp/murmora-UID made for this user alone; empty when neither is the
// user's own, with `refused` saying why.
std::string runtimeFolder(std::string& refused) {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        runtime && *runtime == '/' && whyNotOwnPrivateFolder(runtime).empty())
        return runtime;
    const std::string own = "/tmp/murmora-" + std::to_string(::geteuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST) {
        refused = own + " cannot be made: " + std::strerror(errno);
        return {};
    }
    const std::string why = whyNotOwnPrivateFolder(own);
    if (why.empty()) return own;
    refused = own + " " + why;
    return {};
}

// The display the panel shows on, as a file name: ":0" for DISPLAY ":0.0", else the Wayland
// display's name.
std::string displayName() {
    std::string display;
    if (const char* x = std::getenv("DISPLAY"); x && *x) {
        display = x;
        const auto colon = display.rfind(':');
        const auto dot = display.find('.', colon == std::string::npos ? 0 : colon);
        if (colon != std::string::npos && dot != std::string::npos) display.erase(dot);
    } else if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) {
        display = wayland;
    }
    std::replace(display.begin(), display.end(), '/', '_');
    return display;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int localSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0); }

} // namespace

QtPanelInstance::QtPanelInstance() : folder_(runtimeFolder(unguardedReason_)), display_(displayName()) {}

QtPanelInstance::~QtPanelInstance() {
    notifier_.reset();
    if (server_ >= 0) {
        ::unlink(socketPath(folder_, display_).c_str());
        ::close(server_);
    }
    if (lock_ >= 0) ::close(lock_);
}

std::string QtPanelInstance::lockPath(const std::string& folder, const std::string& display) {
    return folder + "/murmora-panel-" + display + ".lock";
}

std::string QtPanelInstance::socketPath(const std::string& folder, const std::string& display) {
    return folder + "/murmora-panel-" + display + ".socket";
}

QtPanelInstance::Claim QtPanelInstance::claim() {
    if (folder_.empty()) return Claim::unguarded;
    const std::string path = lockPath(folder_, display_);
    lock_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock_ < 0) return unguarded(path + ": " + std::strerror(errno));
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        ::close(lock_);
        lock_ = -1;
        return why == EWOULDBLOCK ? askFirstPanel() : unguarded(path + ": " + std::strerror(why));
    }
    startListening();
    return Claim::first;
}

QtPanelInstance::Claim QtPanelInstance::unguarded(std::string reason) {
    unguardedReason_ = std::move(reason);
    return Claim::unguarded;
}

void QtPanelInstance::startListening() {
    // A socket a killed panel left behind goes, and a new one takes its place.
    const std::string path = socketPath(folder_, display_);
    sockaddr_un address{};
    if (!socketAddress(path, address)) return;
    ::unlink(path.c_str());
    server_ = localSocket();
    if (server_ < 0) return;
    if (::bind(server_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(server_, 8) != 0) {
        ::close(server_);
        server_ = -1;
    }
}

QtPanelInstance::Claim QtPanelInstance::askFirstPanel() const {
    sockaddr_un address{};
    if (!socketAddress(socketPath(folder_, display_), address)) return Claim::otherSilent;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerDeadline;
    // The first panel may have its lock but not its socket yet.
    int connection = -1;
    while (std::chrono::steady_clock::now() < deadline) {
        connection = localSocket();
        if (connection >= 0 && ::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) break;
        if (connection >= 0) ::close(connection);
        connection = -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (connection < 0) return Claim::otherSilent;
    // It answers once its panel is up and has been brought to the front.
    char answer[sizeof kAnswer] = {};
    pollfd readable{connection, POLLIN, 0};
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const bool answered = ::poll(&readable, 1, static_cast<int>(std::max<long>(left.count(), 0))) == 1 &&
                          ::recv(connection, answer, sizeof answer - 1, 0) > 0;
    ::close(connection);
    return answered ? Claim::otherRaised : Claim::otherSilent;
}

void QtPanelInstance::listen(std::function<void()> bringToFront) {
    if (server_ < 0) return;
    bringToFront_ = std::move(bringToFront);
    notifier_ = std::make_unique<QSocketNotifier>(server_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { answerLaterStart(); });
}

void QtPanelInstance::answerLaterStart() {
    const int connection = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (connection < 0) return;
    if (bringToFront_) bringToFront_();
    static_cast<void>(::send(connection, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL));
    ::close(connection);
}

} // namespace murmora::qt
