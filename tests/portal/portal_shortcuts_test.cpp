// The portal client and the hotkeys on it against the fake portal (fake_portal.py) on a private session bus, which
// with_fake_portal.sh starts afresh for each test.
#include "platform/portal/portal_hotkeys.h"
#include "platform/portal/portal_shortcuts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace murmora {
namespace {

using Outcome = PortalShortcuts::Outcome;
using Triggers = QMap<QString, QString>;
constexpr int kRecord = 0;
constexpr int kStop = 1;
const Hotkey kRecordHotkey{kRecord, "record", "Start recording", "Ctrl+Alt+R"};
const Hotkey kStopHotkey{kStop, "stop", "Stop recording and save", "Ctrl+Alt+S"};

const QString kAppId = QStringLiteral("io.github.murmora.Murmora");
constexpr uint kNeverAnswered = 0xFFFFFFFF; // the fake's code for a dialog left open

bool waitFor(const std::function<bool()>& done) { return QTest::qWaitFor(done, 5000); }

// The fake portal's control interface.
class FakePortal {
public:
    FakePortal() { qDBusRegisterMetaType<Triggers>(); }

    void setVersion(uint version) { call("SetVersion", version); }
    void setRegistry(bool offered) { call("SetRegistry", offered); }
    void setBindAnswer(uint response, const Triggers& changed = {}, const QStringList& leftOut = {}) {
        call("SetBindAnswer", response, QVariant::fromValue(changed), leftOut);
    }
    void setBindError(const QString& errorName) { call("SetBindError", errorName); }
    void setAnswerBeforeReply(bool early) { call("SetAnswerBeforeReply", early); }
    void changeTrigger(const QString& id, const QString& trigger) { call("ChangeTrigger", id, trigger); }
    void stop() { call("Stop"); }
    void restart() { call("Restart"); }
    void activate(const QString& id, qulonglong timestamp) { call("Activate", id, timestamp); }
    void hold(const QString& id, qulonglong timestamp, uint repeats) { call("Hold", id, timestamp, repeats); }

    // Every call made to the portal, oldest first: interface, member, path, signature, args.
    QJsonArray calls() {
        const QDBusMessage reply = call("Calls");
        return QJsonDocument::fromJson(reply.arguments().value(0).toString().toUtf8()).array();
    }
    QJsonArray callsOf(const QString& member) {
        QJsonArray found;
        for (const QJsonValue& call : calls()) {
            if (call["member"] == member) found.append(call);
        }
        return found;
    }

private:
    template <typename... Args>
    QDBusMessage call(const char* method, const Args&... args) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(QStringLiteral("test.FakePortal"), QStringLiteral("/test/FakePortal"),
                                           QStringLiteral("test.FakePortal.Control"), QString::fromLatin1(method));
        message.setArguments({QVariant::fromValue(args)...});
        const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
        EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage) << method << ": " << reply.errorMessage().toStdString();
        return reply;
    }
};

class PortalShortcutsTest : public ::testing::Test {
protected:
    void startClient() {
        client = std::make_unique<PortalShortcuts>(QDBusConnection::sessionBus(), kAppId);
        QObject::connect(client.get(), &PortalShortcuts::activated, [this](int id) { activations.push_back(id); });
        QObject::connect(client.get(), &PortalShortcuts::bindFinished,
                         [this](Outcome outcome) { outcomes.push_back(outcome); });
        client->bind({{kRecord, "record", "Start recording", "CTRL+ALT+r"},
                      {kStop, "stop", "Stop recording and save", "CTRL+ALT+s"}});
    }

    // Starts the client and waits for the first outcome of its binding.
    Outcome bind() {
        startClient();
        EXPECT_TRUE(waitForOutcomes(1));
        return client->outcome();
    }

    bool waitForOutcomes(size_t count) {
        return waitFor([&] { return outcomes.size() >= count; });
    }

    // Activates "stop" and waits for it: every signal the portal sent before has been handled.
    void activateStopAndWait(qulonglong timestamp) {
        const size_t before = activations.size();
        portal.activate("stop", timestamp);
        ASSERT_TRUE(waitFor([&] { return activations.size() > before; }));
    }

    void destroyClientAndWaitFor(const QString& member) {
        client.reset();
        ASSERT_TRUE(waitFor([&] { return !portal.callsOf(member).isEmpty(); })) << member.toStdString();
    }

    FakePortal portal;
    std::unique_ptr<PortalShortcuts> client;
    std::vector<int> activations;
    std::vector<Outcome> outcomes;
};

struct AcceptCase {
    const char* name;
    uint version;
    bool answerBeforeReply; // the Response overtakes the reply to the call
    bool registry = true;   // the host registry is offered
};

void PrintTo(const AcceptCase& c, std::ostream* out) { *out << c.name; }

class AcceptedBindTest : public PortalShortcutsTest, public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(AcceptedBindTest, BindsBothShortcuts) {
    portal.setVersion(GetParam().version);
    portal.setAnswerBeforeReply(GetParam().answerBeforeReply);
    portal.setRegistry(GetParam().registry);
    EXPECT_EQ(bind(), Outcome::bound);
    EXPECT_TRUE(client->isBound(kRecord) && client->isBound(kStop));
}

INSTANTIATE_TEST_SUITE_P(Portals, AcceptedBindTest,
                         ::testing::Values(AcceptCase{"Version1", 1, false}, AcceptCase{"Version2", 2, false},
                                           AcceptCase{"ResponseBeforeReply", 2, true},
                                           AcceptCase{"WithoutTheRegistry", 2, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortalShortcutsTest, HeldShortcutCountsOncePerPress) {
    ASSERT_EQ(bind(), Outcome::bound);
    portal.hold("record", 1000, 20);
    portal.hold("record", 3000, 20);
    activateStopAndWait(5000);
    EXPECT_EQ(activations, (std::vector{kRecord, kRecord, kStop}));
}

TEST_F(PortalShortcutsTest, RestartedPortalIsBoundAgain) {
    ASSERT_EQ(bind(), Outcome::bound);
    portal.restart();
    ASSERT_TRUE(waitForOutcomes(3));
    EXPECT_EQ(outcomes, (std::vector{Outcome::bound, Outcome::notOffered, Outcome::bound}));
    activateStopAndWait(1000);
    EXPECT_EQ(activations, std::vector{kStop});
}

TEST_F(PortalShortcutsTest, KeysTheUserChoseAreToldAtTheBindingAndWhenChangedLater) {
    portal.setBindAnswer(0, {{"record", "Ctrl+Shift+F9"}});
    int told = 0;
    startClient();
    QObject::connect(client.get(), &PortalShortcuts::triggersChanged, [&] { ++told; });
    ASSERT_TRUE(waitForOutcomes(1));
    EXPECT_EQ(told, 1);
    EXPECT_EQ(client->triggerOf(kRecord), "Ctrl+Shift+F9");
    EXPECT_EQ(client->triggerOf(kStop), "Ctrl+Alt+S");
    portal.changeTrigger("stop", "Meta+S");
    ASSERT_TRUE(waitFor([&] { return told == 2; }));
    EXPECT_EQ(client->triggerOf(kStop), "Meta+S");
}

// Asking again would open the desktop's shortcut settings at every start (Plasma 6).
TEST_F(PortalShortcutsTest, ShortcutsTheDesktopKeptFromAnEarlierRunAreNotAskedForAgain) {
    ASSERT_EQ(bind(), Outcome::bound);
    client.reset();
    outcomes.clear();
    ASSERT_EQ(bind(), Outcome::bound);
    EXPECT_EQ(portal.callsOf("BindShortcuts").size(), 1);
    EXPECT_EQ(portal.callsOf("ListShortcuts").size(), 2);
    activateStopAndWait(1000);
    EXPECT_TRUE(client->isBound(kRecord) && client->isBound(kStop));
}

TEST_F(PortalShortcutsTest, RegistersTheAppIdBeforeAnyPortalCall) {
    ASSERT_EQ(bind(), Outcome::bound);
    const QJsonObject first = portal.calls().first().toObject();
    EXPECT_EQ(first["member"], "Register");
    EXPECT_EQ(first["args"][0], kAppId);
}

TEST_F(PortalShortcutsTest, ClosesABindDialogStillOpenWhenDestroyed) {
    portal.setBindAnswer(kNeverAnswered);
    startClient();
    ASSERT_TRUE(waitFor([&] { return !portal.callsOf("BindShortcuts").isEmpty(); }));
    const QJsonValue options = portal.callsOf("BindShortcuts").at(0)["args"][3];
    const QString requestEnd = '/' + options["handle_token"]["value"].toString();
    client.reset();
    const auto requestClosed = [&] {
        for (const QJsonValue& close : portal.callsOf("Close")) {
            if (close["interface"] == "org.freedesktop.portal.Request" &&
                close["path"].toString().endsWith(requestEnd)) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(waitFor(requestClosed));
}

// The hotkeys the panel sees: the portal's, or the fallback's where the portal offers none.
class RecordedHotkeys final : public Hotkeys {
public:
    explicit RecordedHotkeys(std::vector<int>& registered) : registered_(registered) {}
    std::error_code registerHotkey(const Hotkey& hotkey) override {
        registered_.push_back(hotkey.id);
        return {};
    }
    void unregisterHotkey(int) override {}
    void setHotkeyHandler(std::function<void(int)>) override {}

private:
    std::vector<int>& registered_;
};

class PortalHotkeysTest : public ::testing::Test {
protected:
    // The bind's answer then comes before any press, in the order the client handles them.
    PortalHotkeysTest() { portal.setAnswerBeforeReply(true); }

    // Registers both hotkeys as the panel does.
    void registerBoth() {
        hotkeys = std::make_unique<PortalHotkeys>(
            QDBusConnection::sessionBus(), kAppId,
            [this] {
                fallbackMade = true;
                return std::make_unique<RecordedHotkeys>(fallbackRegistered);
            },
            [this] { portalChosen = true; });
        hotkeys->setHotkeyHandler([this](int id) { presses.push_back(id); });
        hotkeys->setRefusalHandler([this](std::vector<int> ids) { refused = std::move(ids); });
        EXPECT_FALSE(hotkeys->registerHotkey(kRecordHotkey));
        EXPECT_FALSE(hotkeys->registerHotkey(kStopHotkey));
    }

    // The shortcuts of each BindShortcuts call, as the portal got them.
    std::vector<QJsonArray> boundLists() {
        std::vector<QJsonArray> lists;
        for (const QJsonValue& call : portal.callsOf("BindShortcuts"))
            lists.push_back(call["args"][1].toArray());
        return lists;
    }

    // Presses "record" until it arrives (once bound; later ones are repeats of a held key):
    // the bind's answer has then been handled.
    void pressRecordAndWait() {
        ASSERT_TRUE(waitFor([&] {
            portal.activate("record", 1000);
            return !presses.empty();
        }));
    }

    FakePortal portal;
    std::unique_ptr<PortalHotkeys> hotkeys;
    bool portalChosen = false;
    bool fallbackMade = false;
    std::vector<int> fallbackRegistered;
    std::vector<int> presses;
    std::vector<int> refused;
};

struct RefusalCase {
    const char* name;
    std::function<void(FakePortal&)> arrange;
    std::vector<int> refused;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class RefusalTest : public PortalHotkeysTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, NamesTheHotkeysNotBound) {
    GetParam().arrange(portal);
    registerBoth();
    if (GetParam().refused.empty()) {
        pressRecordAndWait();
    } else {
        ASSERT_TRUE(waitFor([&] { return !refused.empty(); }));
    }
    EXPECT_EQ(refused, GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, RefusalTest,
    ::testing::Values(RefusalCase{"Accepted", [](FakePortal&) {}, {}},
                      RefusalCase{"MovedToOtherKeys",
                                  [](FakePortal& p) {
                                      p.setBindAnswer(0, {{"record", "Ctrl+Shift+F9"}});
                                  },
                                  {}},
                      RefusalCase{"LeftWithoutKeys", [](FakePortal& p) { p.setBindAnswer(0, {}, {"stop"}); }, {kStop}},
                      RefusalCase{"Cancelled", [](FakePortal& p) { p.setBindAnswer(1); }, {kRecord, kStop}},
                      RefusalCase{"Ended", [](FakePortal& p) { p.setBindAnswer(2); }, {kRecord, kStop}},
                      RefusalCase{"CallFailed",
                                  [](FakePortal& p) { p.setBindError("org.freedesktop.portal.Error.Failed"); },
                                  {kRecord, kStop}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChoiceCase {
    const char* name;
    std::function<void(FakePortal&)> arrange;
    bool fallback;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class ChoiceTest : public PortalHotkeysTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ChoiceTest, FallsBackOnlyWithoutGlobalShortcuts) {
    GetParam().arrange(portal);
    registerBoth();
    ASSERT_TRUE(waitFor([&] { return portalChosen || fallbackMade; }));
    EXPECT_EQ(fallbackMade, GetParam().fallback);
    EXPECT_EQ(fallbackRegistered, (GetParam().fallback ? std::vector{kRecord, kStop} : std::vector<int>{}));
}

INSTANTIATE_TEST_SUITE_P(Portals, ChoiceTest,
                         ::testing::Values(ChoiceCase{"Offered", [](FakePortal&) {}, false},
                                           ChoiceCase{"NoPortal", [](FakePortal& p) { p.stop(); }, true},
                                           ChoiceCase{"NoGlobalShortcuts", [](FakePortal& p) { p.setVersion(0); },
                                                      true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each hotkey is a shortcut under its name, with its description and its keys as the trigger.
const QJsonArray kBothShortcuts = QJsonDocument::fromJson(R"([
    ["record", {"description": {"type": "s", "value": "Start recording"},
                "preferred_trigger": {"type": "s", "value": "CTRL+ALT+r"}}],
    ["stop", {"description": {"type": "s", "value": "Stop recording and save"},
              "preferred_trigger": {"type": "s", "value": "CTRL+ALT+s"}}]])")
                                      .array();

TEST_F(PortalHotkeysTest, AsksForTheHotkeysAsShortcutsInOneBinding) {
    registerBoth();
    pressRecordAndWait();
    EXPECT_EQ(boundLists(), std::vector{kBothShortcuts});
    EXPECT_EQ(hotkeys->registerHotkey({7, "record", "Again", "Ctrl+Alt+Q"}),
              std::make_error_code(std::errc::invalid_argument))
        << "a second shortcut of the same name";
    EXPECT_EQ(hotkeys->registerHotkey({7, "other", "Other", "Ctrl+Alt+F1"}),
              std::make_error_code(std::errc::invalid_argument))
        << "keys the portal's hotkeys cannot have";
}

TEST_F(PortalHotkeysTest, AHotkeyRegisteredOnceBoundIsAskedForWithTheOthersInANewSession) {
    hotkeys = std::make_unique<PortalHotkeys>(
        QDBusConnection::sessionBus(), kAppId, [] { return std::unique_ptr<Hotkeys>(); }, [] {});
    hotkeys->setHotkeyHandler([this](int id) { presses.push_back(id); });
    EXPECT_FALSE(hotkeys->registerHotkey(kRecordHotkey));
    pressRecordAndWait();
    EXPECT_FALSE(hotkeys->registerHotkey(kStopHotkey));
    ASSERT_TRUE(waitFor([&] { return boundLists().size() == 2; }));
    EXPECT_EQ(boundLists().back(), kBothShortcuts);
    // The first session is closed before the second is made (at the same path: the same token).
    const QJsonArray calls = portal.calls();
    const auto indexOf = [&](const QString& interface, const QString& member, int nth) {
        for (qsizetype i = 0; i < calls.size(); ++i) {
            if (calls[i]["interface"] == interface && calls[i]["member"] == member && nth-- == 0) return i;
        }
        return qsizetype(-1);
    };
    const qsizetype closed = indexOf("org.freedesktop.portal.Session", "Close", 0);
    ASSERT_GE(closed, 0) << "the first session is closed";
    EXPECT_LT(closed, indexOf("org.freedesktop.portal.GlobalShortcuts", "CreateSession", 1));
}

// The desktop keeps the shortcuts, and the keys the user gave them, under the session's token:
// each run asks with the same one, and gives the shortcuts with the session as KDE 5.27 needs.
TEST_F(PortalHotkeysTest, EveryRunAsksForTheSameSessionWithTheShortcutsInIt) {
    QStringList tokens;
    for (int run = 0; run < 2; ++run) {
        presses.clear();
        registerBoth();
        pressRecordAndWait();
        const QJsonValue options = portal.callsOf("CreateSession").last()["args"][0];
        tokens.append(options["session_handle_token"]["value"].toString());
        EXPECT_EQ(options["shortcuts"]["value"].toArray(), kBothShortcuts);
        hotkeys.reset();
    }
    EXPECT_EQ(tokens[0], tokens[1]);
}

TEST_F(PortalHotkeysTest, GivingBackBothClosesTheSession) {
    registerBoth();
    pressRecordAndWait();
    const QString session = portal.callsOf("BindShortcuts").at(0)["args"][0].toString();
    hotkeys->unregisterHotkey(kRecord);
    hotkeys->unregisterHotkey(kStop);
    ASSERT_TRUE(waitFor([&] { return !portal.callsOf("Close").isEmpty(); }));
    EXPECT_EQ(portal.callsOf("Close").at(0)["path"], session);
}

// The argument types of each portal method the program calls, as the portal's interface
// descriptions declare them.
const QMap<QString, QString> kDocumentedSignatures{
    {"org.freedesktop.host.portal.Registry.Register", "sa{sv}"},
    {"org.freedesktop.DBus.Properties.Get", "ss"},
    {"org.freedesktop.portal.GlobalShortcuts.CreateSession", "a{sv}"},
    {"org.freedesktop.portal.GlobalShortcuts.ListShortcuts", "oa{sv}"},
    {"org.freedesktop.portal.GlobalShortcuts.BindShortcuts", "oa(sa{sv})sa{sv}"},
    {"org.freedesktop.portal.Session.Close", ""},
    {"org.freedesktop.portal.Request.Close", ""},
};

TEST_F(PortalShortcutsTest, EveryCallHasItsDocumentedSignature) {
    ASSERT_EQ(bind(), Outcome::bound);
    activateStopAndWait(1000);
    destroyClientAndWaitFor("Close");
    for (const QJsonValue& call : portal.calls()) {
        const QString method = call["interface"].toString() + '.' + call["member"].toString();
        ASSERT_TRUE(kDocumentedSignatures.contains(method)) << "undocumented " << method.toStdString();
        EXPECT_EQ(call["signature"].toString(), kDocumentedSignatures[method]) << method.toStdString();
    }
}

} // namespace
} // namespace murmora
