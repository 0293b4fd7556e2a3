// The portal client against the fake portal (fake_portal.py) on a private session bus, which
// with_fake_portal.sh starts afresh for each test.
#include "platform/portal/portal_shortcuts.h"

#include <gtest/gtest.h>

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
constexpr int kRecord = PortalShortcuts::kRecordHotkeyId;
constexpr int kStop = PortalShortcuts::kStopHotkeyId;

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
    void stop() { call("Stop"); }
    void start() { call("Start"); }
    void restart() { call("Restart"); }
    void activate(const QString& id, qulonglong timestamp) { call("Activate", id, timestamp); }
    void hold(const QString& id, qulonglong timestamp, uint repeats) {
        call("Hold", id, timestamp, repeats);
    }

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
        QDBusMessage message = QDBusMessage::createMethodCall(
            QStringLiteral("test.FakePortal"), QStringLiteral("/test/FakePortal"),
            QStringLiteral("test.FakePortal.Control"), QString::fromLatin1(method));
        message.setArguments({QVariant::fromValue(args)...});
        const QDBusMessage reply = QDBusConnection::sessionBus().call(message);
        EXPECT_NE(reply.type(), QDBusMessage::ErrorMessage)
            << method << ": " << reply.errorMessage().toStdString();
        return reply;
    }
};

class PortalShortcutsTest : public ::testing::Test {
protected:
    void startClient() {
        client = std::make_unique<PortalShortcuts>(QDBusConnection::sessionBus(), kAppId);
        QObject::connect(client.get(), &PortalShortcuts::activated,
                         [this](int id) { activations.push_back(id); });
        QObject::connect(client.get(), &PortalShortcuts::bindFinished,
                         [this](Outcome outcome) { outcomes.push_back(outcome); });
        client->start();
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
        ASSERT_TRUE(waitFor([&] { return !portal.callsOf(member).isEmpty(); }))
            << member.toStdString();
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
};

void PrintTo(const AcceptCase& c, std::ostream* out) { *out << c.name; }

class AcceptedBindTest : public PortalShortcutsTest,
                         public ::testing::WithParamInterface<AcceptCase> {};

TEST_P(AcceptedBindTest, IsReportedAsBound) {
    portal.setVersion(GetParam().version);
    portal.setAnswerBeforeReply(GetParam().answerBeforeReply);
    EXPECT_EQ(bind(), Outcome::Bound);
    EXPECT_EQ(client->portalVersion(), GetParam().version);
    EXPECT_EQ(client->triggerDescription(kRecord), "Ctrl+Alt+R");
    EXPECT_EQ(client->triggerDescription(kStop), "Ctrl+Alt+S");
}

INSTANTIATE_TEST_SUITE_P(Portals, AcceptedBindTest,
                         ::testing::Values(AcceptCase{"Version1", 1, false},
                                           AcceptCase{"Version2", 2, false},
                                           AcceptCase{"ResponseBeforeReply", 2, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AnswerCase {
    const char* name;
    uint response;
    Triggers changed;
    QStringList leftOut;
    Outcome outcome;
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class BindAnswerTest : public PortalShortcutsTest,
                       public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(BindAnswerTest, GivesItsOutcome) {
    portal.setBindAnswer(GetParam().response, GetParam().changed, GetParam().leftOut);
    EXPECT_EQ(bind(), GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BindAnswerTest,
    ::testing::Values(
        AnswerCase{"Cancelled", 1, {}, {}, Outcome::Cancelled},
        AnswerCase{"Refused", 2, {}, {}, Outcome::Refused},
        AnswerCase{"TriggerChanged", 0, {{"record", "Ctrl+Shift+F9"}}, {}, Outcome::BoundChanged},
        AnswerCase{"LeftWithoutKeys", 0, {}, {"stop"}, Outcome::BoundChanged},
        AnswerCase{"SameKeysSpelledOtherwise", 0, {{"record", "Alt+Ctrl+R"}}, {}, Outcome::Bound}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortalShortcutsTest, ChangedTriggerIsTheOneTheUserChose) {
    portal.setBindAnswer(0, {{"stop", "Ctrl+Shift+F9"}});
    ASSERT_EQ(bind(), Outcome::BoundChanged);
    EXPECT_EQ(client->triggerDescription(kStop), "Ctrl+Shift+F9");
}

TEST_F(PortalShortcutsTest, FailedBindCallIsReported) {
    portal.setBindError("org.freedesktop.portal.Error.Failed");
    EXPECT_EQ(bind(), Outcome::Failed);
    EXPECT_FALSE(client->failure().isEmpty());
}

TEST_F(PortalShortcutsTest, AsksForBothShortcutsWithTheirTextsAndKeys) {
    ASSERT_EQ(bind(), Outcome::Bound);
    const QJsonArray binds = portal.callsOf("BindShortcuts");
    ASSERT_EQ(binds.size(), 1);
    const QJsonArray asked = binds[0]["args"][1].toArray();
    const auto expected = QJsonDocument::fromJson(R"([
        ["record", {"description": {"type": "s", "value": "Start recording"},
                    "preferred_trigger": {"type": "s", "value": "CTRL+ALT+r"}}],
        ["stop", {"description": {"type": "s", "value": "Stop recording and save"},
                  "preferred_trigger": {"type": "s", "value": "CTRL+ALT+s"}}]])").array();
    EXPECT_EQ(asked, expected) << QJsonDocument(asked).toJson().toStdString();
}

TEST_F(PortalShortcutsTest, ActivatedGivesTheHotkeyIds) {
    ASSERT_EQ(bind(), Outcome::Bound);
    portal.activate("record", 1000);
    portal.activate("stop", 3000);
    ASSERT_TRUE(waitFor([&] { return activations.size() == 2; }));
    EXPECT_EQ(activations, (std::vector{kRecord, kStop}));
}

TEST_F(PortalShortcutsTest, HeldShortcutCountsOncePerPress) {
    ASSERT_EQ(bind(), Outcome::Bound);
    portal.hold("record", 1000, 20);
    portal.hold("record", 3000, 20);
    activateStopAndWait(5000);
    EXPECT_EQ(activations, (std::vector{kRecord, kRecord, kStop}));
}

struct AbsentCase {
    const char* name;
    std::function<void(FakePortal&)> arrange;
};

void PrintTo(const AbsentCase& c, std::ostream* out) { *out << c.name; }

class NotOfferedTest : public PortalShortcutsTest,
                       public ::testing::WithParamInterface<AbsentCase> {};

TEST_P(NotOfferedTest, IsReportedAsNotOffered) {
    GetParam().arrange(portal);
    EXPECT_EQ(bind(), Outcome::NotOffered);
    EXPECT_FALSE(client->failure().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Portals, NotOfferedTest,
    ::testing::Values(AbsentCase{"NoPortal", [](FakePortal& portal) { portal.stop(); }},
                      AbsentCase{"NoGlobalShortcuts", [](FakePortal& portal) { portal.setVersion(0); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortalShortcutsTest, PortalStartedLaterIsBound) {
    portal.stop();
    ASSERT_EQ(bind(), Outcome::NotOffered);
    portal.start();
    ASSERT_TRUE(waitForOutcomes(2));
    EXPECT_EQ(outcomes.back(), Outcome::Bound);
}

TEST_F(PortalShortcutsTest, RestartedPortalIsBoundAgain) {
    ASSERT_EQ(bind(), Outcome::Bound);
    portal.restart();
    ASSERT_TRUE(waitForOutcomes(3));
    EXPECT_EQ(outcomes, (std::vector{Outcome::Bound, Outcome::NotOffered, Outcome::Bound}));
    activateStopAndWait(1000);
    EXPECT_EQ(activations, std::vector{kStop});
}

TEST_F(PortalShortcutsTest, RegistersTheAppIdBeforeAnyPortalCall) {
    ASSERT_EQ(bind(), Outcome::Bound);
    const QJsonObject first = portal.calls().first().toObject();
    EXPECT_EQ(first["member"], "Register");
    EXPECT_EQ(first["args"][0], kAppId);
}

TEST_F(PortalShortcutsTest, BindsWithoutTheRegistry) {
    portal.setRegistry(false);
    EXPECT_EQ(bind(), Outcome::Bound);
}

TEST_F(PortalShortcutsTest, ClosesTheSessionWhenDestroyed) {
    ASSERT_EQ(bind(), Outcome::Bound);
    const QString session = portal.callsOf("BindShortcuts").at(0)["args"][0].toString();
    destroyClientAndWaitFor("Close");
    const QJsonArray closes = portal.callsOf("Close");
    ASSERT_EQ(closes.size(), 1);
    EXPECT_EQ(closes[0]["interface"], "org.freedesktop.portal.Session");
    EXPECT_EQ(closes[0]["path"], session);
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

// The argument types of each portal method the program calls, as the portal's interface
// descriptions declare them.
const QMap<QString, QString> kDocumentedSignatures{
    {"org.freedesktop.host.portal.Registry.Register", "sa{sv}"},
    {"org.freedesktop.DBus.Properties.Get", "ss"},
    {"org.freedesktop.portal.GlobalShortcuts.CreateSession", "a{sv}"},
    {"org.freedesktop.portal.GlobalShortcuts.BindShortcuts", "oa(sa{sv})sa{sv}"},
    {"org.freedesktop.portal.Session.Close", ""},
    {"org.freedesktop.portal.Request.Close", ""},
};

TEST_F(PortalShortcutsTest, EveryCallHasItsDocumentedSignature) {
    ASSERT_EQ(bind(), Outcome::Bound);
    activateStopAndWait(1000);
    destroyClientAndWaitFor("Close");
    for (const QJsonValue& call : portal.calls()) {
        const QString method = call["interface"].toString() + '.' + call["member"].toString();
        ASSERT_TRUE(kDocumentedSignatures.contains(method)) << "undocumented " << method.toStdString();
        EXPECT_EQ(call["signature"].toString(), kDocumentedSignatures[method])
            << method.toStdString();
    }
}

// The documented keys of each vardict the program sends, with their types.
const QMap<QString, QMap<QString, QString>> kDocumentedOptions{
    {"Register", {}},
    {"CreateSession", {{"handle_token", "s"}, {"session_handle_token", "s"}}},
    {"BindShortcuts", {{"handle_token", "s"}}},
};
const QMap<QString, QString> kDocumentedShortcutKeys{{"description", "s"}, {"preferred_trigger", "s"}};

void expectDocumentedVardict(const QJsonObject& vardict, const QMap<QString, QString>& documented,
                             const QString& where) {
    for (auto entry = vardict.begin(); entry != vardict.end(); ++entry) {
        ASSERT_TRUE(documented.contains(entry.key()))
            << where.toStdString() << ": undocumented key " << entry.key().toStdString();
        EXPECT_EQ(QJsonValue(entry.value())["type"].toString(), documented[entry.key()])
            << where.toStdString() << ": " << entry.key().toStdString();
    }
}

TEST_F(PortalShortcutsTest, EveryOptionHasItsDocumentedType) {
    ASSERT_EQ(bind(), Outcome::Bound);
    for (const QJsonValue& call : portal.calls()) {
        const QString member = call["member"].toString();
        if (!kDocumentedOptions.contains(member)) continue;
        const QJsonArray args = call["args"].toArray();
        expectDocumentedVardict(args.last().toObject(), kDocumentedOptions[member], member);
        if (member != "BindShortcuts") continue;
        for (const QJsonValue& shortcut : args[1].toArray()) {
            expectDocumentedVardict(shortcut[1].toObject(), kDocumentedShortcutKeys,
                                    shortcut[0].toString());
        }
    }
}

} // namespace
} // namespace murmora
