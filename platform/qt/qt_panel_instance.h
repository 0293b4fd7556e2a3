#pragma once
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace murmora::qt {

// One panel per user and display. The first start holds a lock file in the user's runtime
// folder for as long as it runs and listens on a local socket beside it; a later start finds
// the lock held, asks the first through the socket to bring its panel to the front, and ends.
// A lock and a socket rather than a name on the session bus: they need no bus (there is none
// under ssh, in a bare X session or in a service), the kernel lets go of the lock when a panel
// dies however it dies, and asking costs one connection, no bus round trips at start-up.
class QtPanelInstance {
public:
    // The runtime folder is $XDG_RUNTIME_DIR, else a folder of the user's own in /tmp; the name
    // holds the display, so that each display of a user has its panel.
    QtPanelInstance();
    ~QtPanelInstance();
    QtPanelInstance(const QtPanelInstance&) = delete;
    QtPanelInstance& operator=(const QtPanelInstance&) = delete;

    enum class Claim {
        first,       // no other panel runs
        unguarded,   // no lock can be had (unguardedReason() says why): the panel runs without
        otherRaised, // another panel runs for this user and display and came to the front
        otherSilent, // another panel runs but did not answer in time
    };
    Claim claim();
    // Why the claim was unguarded: the folder refused, or the lock's file with the system's reason.
    const std::string& unguardedReason() const { return unguardedReason_; }
    // Once the panel runs: `bringToFront` runs on the user-interface thread for each later start.
    void listen(std::function<void()> bringToFront);

    // Where the lock and the socket are, for the folder and display given.
    static std::string lockPath(const std::string& folder, const std::string& display);
    static std::string socketPath(const std::string& folder, const std::string& display);

private:
    // Asks the panel that holds the lock to come to the front.
    Claim askFirstPanel() const;
    void startListening();
    void answerLaterStart();

    Claim unguarded(std::string reason);

    std::string unguardedReason_; // before folder_, which the constructor finds with it
    std::string folder_;
    std::string display_;
    int lock_ = -1;
    int server_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> bringToFront_;
};

} // namespace murmora::qt
