#include "platform/portal/portal_request.h"

#include <QDBusPendingCallWatcher>
#include <QRandomGenerator>

namespace murmora::portal {

namespace {
const QString kRequestInterface = QStringLiteral("org.freedesktop.portal.Request");
} // namespace

QString newHandleToken() {
    const quint64 random = QRandomGenerator::global()->generate64();
    return QStringLiteral("murmora_%1").arg(random, 16, 16, QLatin1Char('0'));
}

QString senderElement(const QDBusConnection& bus) {
    return bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

PortalRequest::PortalRequest(QDBusConnection bus, QDBusMessage call, QVariantMap options, OnAnswer onAnswer,
                             QObject* parent)
    : QObject(parent), bus_(std::move(bus)), onAnswer_(std::move(onAnswer)) {
    const QString token = newHandleToken();
    path_ = QStringLiteral("%1/request/%2/%3").arg(kPortalPath, senderElement(bus_), token);
    bus_.connect(kPortalService, path_, kRequestInterface, QStringLiteral("Response"), this,
                 SLOT(onResponse(uint, QVariantMap)));

    options.insert(QStringLiteral("handle_token"), token);
    call << options;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        if (watcher->isError()) answer({std::nullopt, {}});
    });
}

PortalRequest::~PortalRequest() {
    if (answered_) return;
    unsubscribe();
    QDBusMessage close =
        QDBusMessage::createMethodCall(kPortalService, path_, kRequestInterface, QStringLiteral("Close"));
    close.setAutoStartService(false);
    bus_.send(close);
}

void PortalRequest::onResponse(uint response, const QVariantMap& results) { answer({response, results}); }

void PortalRequest::answer(const RequestAnswer& answer) {
    if (answered_) return;
    answered_ = true;
    unsubscribe();
    onAnswer_(answer);
}

void PortalRequest::unsubscribe() {
    bus_.disconnect(kPortalService, path_, kRequestInterface, QStringLiteral("Response"), this,
                    SLOT(onResponse(uint, QVariantMap)));
}

} // namespace murmora::portal
