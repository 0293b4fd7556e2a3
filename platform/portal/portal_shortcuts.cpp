#include "platform/portal/portal_shortcuts.h"

#include <algorithm>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include "platform/portal/portal_request.h"

namespace murmora::portal {

// One element of the a(sa{sv}) lists of BindShortcuts and its answer.
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& out, const Shortcut& shortcut) {
    out.beginStructure();
    out << shortcut.id << shortcut.properties;
    out.endStructure();
    return out;
}

const QDBusArgument& operator>>(const QDBusArgument& in, Shortcut& shortcut) {
    in.beginStructure();
    in >> shortcut.id >> shortcut.properties;
    in.endStructure();
    return in;
}

} // namespace murmora::portal

Q_DECLARE_METATYPE(murmora::portal::Shortcut)

namespace murmora {
using namespace portal;

namespace {

const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
// The same from run to run: KDE keeps the shortcuts, and the keys the user gave them, under it.
const QString kSessionToken = QStringLiteral("murmora");

QList<Shortcut> askedShortcuts(const std::vector<PortalShortcuts::Wanted>& wanted) {
    QList<Shortcut> asked;
    for (const PortalShortcuts::Wanted& shortcut : wanted) {
        const QVariantMap properties{{QStringLiteral("description"), shortcut.description},
                                     {QStringLiteral("preferred_trigger"), shortcut.preferredTrigger}};
        asked.append({shortcut.id, properties});
    }
    return asked;
}

QDBusMessage portalCall(const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(kPortalService, kPortalPath, interface, method);
}

PortalShortcuts::Outcome outcomeOfEndedRequest(uint response) {
    if (response == uint(Response::cancelled)) return PortalShortcuts::Outcome::cancelled;
    if (response == uint(Response::ended)) return PortalShortcuts::Outcome::refused;
    return PortalShortcuts::Outcome::failed;
}

void registerDBusTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<Shortcut>();
        qDBusRegisterMetaType<QList<Shortcut>>();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace

PortalShortcuts::PortalShortcuts(QDBusConnection bus, QString appId, QObject* parent)
    : QObject(parent), watchBus_(bus), bus_(std::move(bus)), appId_(std::move(appId)) {
    registerDBusTypes();
}

PortalShortcuts::~PortalShortcuts() {
    closeSession();
    leaveOwnConnection();
}

void PortalShortcuts::bind(std::vector<Wanted> shortcuts) {
    wanted_ = std::move(shortcuts);
    if (!portalWatcher_) return start();
    if (!asked_) return; // the binding under way asks for the new list
    closeSession();
    begin();
}

void PortalShortcuts::start() {
    portalWatcher_ = new QDBusServiceWatcher(kPortalService, watchBus_, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(portalWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &PortalShortcuts::onPortalOwnerChanged);
    subscribeToShortcutSignals(true);
    begin();
}

// Whole messages: Qt 6.4 fails a process's first connect to a slot that takes a
// QDBusObjectPath (its own D-Bus types are registered later).
void PortalShortcuts::subscribeToShortcutSignals(bool subscribe) {
    for (const QString& signal :
         {QStringLiteral("Activated"), QStringLiteral("Deactivated"), QStringLiteral("ShortcutsChanged")}) {
        if (subscribe) {
            bus_.connect(kPortalService, kPortalPath, kShortcutsInterface, signal, this,
                         SLOT(onShortcutSignal(QDBusMessage)));
        } else {
            bus_.disconnect(kPortalService, kPortalPath, kShortcutsInterface, signal, this,
                            SLOT(onShortcutSignal(QDBusMessage)));
        }
    }
}

// A portal that was killed leaves its backend with our session, which the new portal cannot
// close: KDE then refuses a session at the same path. A connection of our own gives the new
// session another path, under the same token, so that the desktop still knows the shortcuts.
void PortalShortcuts::takeNewConnection() {
    subscribeToShortcutSignals(false);
    leaveOwnConnection();
    ownConnection_ = QStringLiteral("murmora-portal-%1").arg(++connectionsMade_);
    bus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, ownConnection_);
    subscribeToShortcutSignals(true);
}

void PortalShortcuts::leaveOwnConnection() {
    if (ownConnection_.isEmpty()) return;
    QDBusConnection::disconnectFromBus(ownConnection_);
    ownConnection_.clear();
}

void PortalShortcuts::close() {
    closeSession();
    forget();
    if (portalWatcher_) portalWatcher_->disconnect(this);
}

void PortalShortcuts::begin() {
    forget();
    calls_ = new QObject(this);
    binding_ = true;
    registerAppId();
}

// Drops what belonged to the portal's previous run: its session, and the answers still to come.
void PortalShortcuts::forget() {
    delete calls_;
    calls_ = nullptr;
    binding_ = false;
    asked_ = false;
    outcome_ = Outcome::pending;
    session_.clear();
    bound_.clear();
    triggers_.clear();
    presses_.clear();
}

// Registering must come before any other portal call. A portal without the Registry, or one
// that knows the program already (a sandboxed one), refuses it: neither stops the binding.
void PortalShortcuts::registerAppId() {
    QDBusMessage call = portalCall(kRegistryInterface, QStringLiteral("Register"));
    call << appId_ << QVariantMap();
    whenReplied(call, [this](const QDBusPendingCallWatcher& reply) {
        if (reply.isError() && reply.error().type() == QDBusError::ServiceUnknown) {
            return finish(Outcome::notOffered);
        }
        checkVersion();
    });
}

void PortalShortcuts::checkVersion() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << kShortcutsInterface << QStringLiteral("version");
    whenReplied(call, [this](const QDBusPendingCallWatcher& reply) {
        const QDBusPendingReply<QDBusVariant> version = reply;
        if (version.isError() || version.value().variant().toUInt() == 0) return finish(Outcome::notOffered);
        emit offered();
        createSession();
    });
}

void PortalShortcuts::createSession() {
    // The portal makes the session at this path, known before it answers, so that destruction
    // during the call can still close it.
    session_ = QStringLiteral("%1/session/%2/%3").arg(kPortalPath, senderElement(bus_), kSessionToken);
    // KDE Plasma 5.27 binds only the shortcuts given here, and answers with them.
    const QVariantMap options{{QStringLiteral("session_handle_token"), kSessionToken},
                              {QStringLiteral("shortcuts"), QVariant::fromValue(askedShortcuts(wanted_))}};
    const auto onAnswer = [this](const RequestAnswer& answer) {
        if (!succeeded(answer)) return;
        // An object path sent as a string: the portal keeps that early mistake for compatibility.
        session_ = answer.results.value(QStringLiteral("session_handle")).toString();
        // Plasma 5.27's BindShortcuts would open System Settings at every start: the shortcuts
        // it bound with the session are the answer.
        if (answer.results.contains(QStringLiteral("shortcuts"))) return takeBoundShortcuts(answer.results);
        listShortcuts();
    };
    new PortalRequest(bus_, portalCall(kShortcutsInterface, QStringLiteral("CreateSession")), options, onAnswer,
                      calls_);
}

// A desktop that knows the shortcuts from an earlier run binds them with the session (Plasma 6):
// asking again would open its shortcut settings at every start. Others are asked.
void PortalShortcuts::listShortcuts() {
    QDBusMessage call = portalCall(kShortcutsInterface, QStringLiteral("ListShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session_));
    const auto onAnswer = [this](const RequestAnswer& answer) {
        if (answer.response == uint(Response::success) && listsEveryWanted(answer.results))
            return takeBoundShortcuts(answer.results);
        bindShortcuts();
    };
    new PortalRequest(bus_, call, {}, onAnswer, calls_);
}

bool PortalShortcuts::listsEveryWanted(const QVariantMap& results) const {
    const auto listed = qdbus_cast<QList<Shortcut>>(results.value(QStringLiteral("shortcuts")));
    return std::ranges::all_of(wanted_, [&](const Wanted& wanted) {
        return std::ranges::any_of(listed, [&](const Shortcut& shortcut) { return shortcut.id == wanted.id; });
    });
}

void PortalShortcuts::bindShortcuts() {
    QDBusMessage call = portalCall(kShortcutsInterface, QStringLiteral("BindShortcuts"));
    call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(askedShortcuts(wanted_))
         << QString(); // no parent window: the panel is an X11 window the portal may not know
    asked_ = true;
    const auto onAnswer = [this](const RequestAnswer& answer) {
        if (succeeded(answer)) takeBoundShortcuts(answer.results);
    };
    new PortalRequest(bus_, call, {}, onAnswer, calls_);
}

bool PortalShortcuts::succeeded(const RequestAnswer& answer) {
    if (!answer.response) {
        finish(Outcome::failed);
    } else if (*answer.response != uint(Response::success)) {
        finish(outcomeOfEndedRequest(*answer.response));
    }
    return answer.response == uint(Response::success);
}

// The results list the shortcuts that were bound; one the user left without keys is missing.
void PortalShortcuts::takeBoundShortcuts(const QVariantMap& results) {
    const auto shortcuts = qdbus_cast<QList<Shortcut>>(results.value(QStringLiteral("shortcuts")));
    for (const Shortcut& shortcut : shortcuts) {
        if (const Wanted* wanted = wantedOf(shortcut.id)) bound_.insert(wanted->hotkeyId);
    }
    takeTriggers(shortcuts);
    finish(Outcome::bound);
}

// The keys as the desktop writes them ("Ctrl+Alt+R"), which may be others than those asked for.
void PortalShortcuts::takeTriggers(const QList<Shortcut>& shortcuts) {
    for (const Shortcut& shortcut : shortcuts) {
        const Wanted* wanted = wantedOf(shortcut.id);
        const QString trigger = shortcut.properties.value(QStringLiteral("trigger_description")).toString();
        if (wanted && !trigger.isEmpty()) triggers_[wanted->hotkeyId] = trigger;
    }
    if (!triggers_.empty()) emit triggersChanged();
}

const PortalShortcuts::Wanted* PortalShortcuts::wantedOf(const QString& shortcutId) const {
    for (const Wanted& wanted : wanted_) {
        if (wanted.id == shortcutId) return &wanted;
    }
    return nullptr;
}

void PortalShortcuts::finish(Outcome outcome) {
    binding_ = false;
    outcome_ = outcome;
    emit bindFinished(outcome);
}

void PortalShortcuts::closeSession() {
    if (session_.isEmpty()) return;
    QDBusMessage close =
        QDBusMessage::createMethodCall(kPortalService, session_, kSessionInterface, QStringLiteral("Close"));
    close.setAutoStartService(false);
    bus_.send(close);
    session_.clear();
}

void PortalShortcuts::whenReplied(const QDBusMessage& call,
                                  std::function<void(const QDBusPendingCallWatcher&)> onReply) {
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), calls_);
    connect(watcher, &QDBusPendingCallWatcher::finished, calls_, [watcher, onReply = std::move(onReply)] {
        watcher->deleteLater();
        onReply(*watcher);
    });
}

// Activated and Deactivated: (session handle, shortcut id, timestamp, options); ShortcutsChanged:
// (session handle, shortcuts), when the user gives a shortcut other keys in the desktop's settings.
void PortalShortcuts::onShortcutSignal(const QDBusMessage& signal) {
    const QList<QVariant> args = signal.arguments();
    if (args.isEmpty() || session_.isEmpty() || args[0].value<QDBusObjectPath>().path() != session_) return;
    if (signal.member() == QLatin1String("ShortcutsChanged")) {
        if (signal.signature() == QLatin1String("oa(sa{sv})")) takeTriggers(qdbus_cast<QList<Shortcut>>(args[1]));
        return;
    }
    if (signal.signature() != QLatin1String("osta{sv}")) return;
    const Wanted* wanted = wantedOf(args[1].toString());
    if (!wanted) return;
    if (signal.member() == QLatin1String("Deactivated")) {
        presses_.deactivated(wanted->hotkeyId);
    } else if (presses_.activated(wanted->hotkeyId, args[2].toULongLong())) {
        emit activated(wanted->hotkeyId);
    }
}

// The portal's service restarting shows as its name losing its owner, then gaining a new one;
// the session went with the old owner. A portal started by our own first call (D-Bus
// activation) gains an owner while the binding is under way, and needs no second start.
void PortalShortcuts::onPortalOwnerChanged(const QString&, const QString& oldOwner, const QString& newOwner) {
    if (!oldOwner.isEmpty()) {
        forget();
        finish(Outcome::notOffered);
        takeNewConnection();
    }
    if (!newOwner.isEmpty() && !binding_) begin();
}

} // namespace murmora
