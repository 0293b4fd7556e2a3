#pragma once
#include <functional>
#include <optional>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace murmora::portal {

inline const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The codes of a Request's Response signal.
enum class Response : uint {
    success = 0,
    cancelled = 1,
    ended = 2
};

// How a portal request ended.
struct RequestAnswer {
    std::optional<uint> response; // empty when the call itself failed
    QVariantMap results;
};

// One portal call that answers later, in the Response signal of a Request object. The caller's
// handle token gives that object's path in advance, so the signal is subscribed to before the
// call goes out and an answer that overtakes the call's reply is not lost. Deleted before the
// answer, it closes the Request, which ends any dialog the portal shows for it.
class PortalRequest final : public QObject {
    Q_OBJECT
public:
    using OnAnswer = std::function<void(const RequestAnswer&)>;

    // Sends `call` with `options` appended as its last argument, after adding a fresh
    // handle_token to them.
    PortalRequest(QDBusConnection bus, QDBusMessage call, QVariantMap options, OnAnswer onAnswer, QObject* parent);
    ~PortalRequest() override;

private slots:
    void onResponse(uint response, const QVariantMap& results);

private:
    void answer(const RequestAnswer& answer);
    void unsubscribe();

    QDBusConnection bus_;
    QString path_;
    OnAnswer onAnswer_;
    bool answered_ = false;
};

// A token for a request's handle_token: unique, hard to guess, and a valid object path element.
QString newHandleToken();

// The unique name of `bus` as an element of a portal object path: ":1.42" becomes "1_42".
QString senderElement(const QDBusConnection& bus);

} // namespace murmora::portal
