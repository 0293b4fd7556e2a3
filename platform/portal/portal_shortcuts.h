#pragma once
#include <functional>
#include <map>
#include <set>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include "platform/portal/press_filter.h"

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

namespace murmora {
namespace portal {
struct RequestAnswer;
struct Shortcut;
} // namespace portal

// Global shortcuts through the desktop's GlobalShortcuts portal, for Wayland sessions, where
// X11 key grabs see nothing of the keys typed into other programs.
//
// bind() names the program to the portal (host Registry, where it exists), checks that the
// portal offers GlobalShortcuts (offered()) and opens a session, under the same token at every
// start, with the shortcuts in it. The shortcuts the desktop then holds (from the session's
// answer, or from an earlier run) are taken as they are; only the others are asked for, and the
// desktop may ask the user first. bindFinished() tells the outcome, activated() each press
// of a shortcut with its hotkey id. A portal that leaves the bus ends the binding (notOffered);
// when it comes back (its service restarted, or started late) the shortcuts are bound again and
// the new outcome told.
//
// Every call is asynchronous: nothing here waits on the bus. Lives on the user-interface
// thread. Delete it with deleteLater() from slots connected to its own signals.
class PortalShortcuts final : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        pending,    // not started yet, or binding
        notOffered, // no portal on the bus, or one without GlobalShortcuts
        bound,      // the shortcuts isBound() names, on the keys asked for or on others the user chose
        cancelled,  // the user cancelled the binding (response 1)
        refused,    // the portal ended it in another way (response 2)
        failed,     // a portal call failed
    };
    Q_ENUM(Outcome)

    // A shortcut to ask the desktop for.
    struct Wanted {
        int hotkeyId;
        QString id; // the desktop keeps the keys a user chose for the shortcut under it
        QString description;
        QString preferredTrigger; // in the XDG shortcut notation ("CTRL+ALT+r")
    };

    // `appId` names the program to the portal: the basename of its installed .desktop file.
    PortalShortcuts(QDBusConnection bus, QString appId, QObject* parent = nullptr);
    // Closes the portal session, which releases the shortcuts, and any request still open.
    ~PortalShortcuts() override;

    // Binds `shortcuts`, and again whenever the portal comes back. A binding already asked for
    // is begun afresh in a new session, so that the desktop sees the whole list.
    void bind(std::vector<Wanted> shortcuts);
    // Closes the session, which releases the shortcuts, and binds nothing more.
    void close();

    Outcome outcome() const { return outcome_; }
    // Whether the last binding got the hotkey: the user may leave a shortcut without keys.
    bool isBound(int hotkeyId) const { return bound_.contains(hotkeyId); }
    // The keys of a bound hotkey as the desktop writes them ("Ctrl+Alt+R"); empty where it
    // told none.
    QString triggerOf(int hotkeyId) const { return triggers_.contains(hotkeyId) ? triggers_.at(hotkeyId) : QString(); }

signals:
    // The portal on the bus offers GlobalShortcuts; the binding goes on.
    void offered();
    void bindFinished(PortalShortcuts::Outcome outcome);
    // A press of a bound shortcut: its release and the repeats of a held key are left out.
    void activated(int hotkeyId);
    // The desktop told the keys of the bound shortcuts (triggerOf()), at the binding or later.
    void triggersChanged();

private slots:
    void onShortcutSignal(const QDBusMessage& signal);
    void onPortalOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);

private:
    void start();
    void subscribeToShortcutSignals(bool subscribe);
    void takeNewConnection();
    void leaveOwnConnection();
    void begin();
    void forget();
    void registerAppId();
    void checkVersion();
    void createSession();
    void listShortcuts();
    bool listsEveryWanted(const QVariantMap& results) const;
    void bindShortcuts();
    // True when the request succeeded; else the binding ends with what its answer tells.
    bool succeeded(const portal::RequestAnswer& answer);
    void takeBoundShortcuts(const QVariantMap& results);
    void takeTriggers(const QList<portal::Shortcut>& shortcuts);
    const Wanted* wantedOf(const QString& shortcutId) const;
    void finish(Outcome outcome);
    void closeSession();
    void whenReplied(const QDBusMessage& call, std::function<void(const QDBusPendingCallWatcher&)> onReply);

    QDBusConnection watchBus_; // the one given: sees the portal come and go
    QDBusConnection bus_;      // the current session's: the one given, or after a loss one of our own
    QString ownConnection_;    // the name of that own connection, if any
    int connectionsMade_ = 0;
    QString appId_;
    QDBusServiceWatcher* portalWatcher_ = nullptr;
    QObject* calls_ = nullptr; // owns the calls in flight of the current binding
    bool binding_ = false;
    bool asked_ = false; // BindShortcuts was called in this session
    std::vector<Wanted> wanted_;
    Outcome outcome_ = Outcome::pending;
    QString session_;
    std::set<int> bound_;             // hotkey ids
    std::map<int, QString> triggers_; // by hotkey id
    portal::PressFilter presses_;
};

} // namespace murmora
