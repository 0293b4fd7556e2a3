#include "platform/portal/portal_hotkeys.h"

namespace murmora {

PortalHotkeys::PortalHotkeys(QDBusConnection bus, const QString& appId, MakeFallback makeFallback,
                             std::function<void()> onPortalChosen)
    : shortcuts_(std::move(bus), appId), makeFallback_(std::move(makeFallback)),
      onPortalChosen_(std::move(onPortalChosen)) {
    // Queued: the handlers show message boxes and dialogs, which must not run inside the
    // portal client's own D-Bus callbacks.
    connect(
        &shortcuts_, &PortalShortcuts::offered, this,
        [this] {
            if (std::exchange(chosen_, true)) return;
            if (onPortalChosen_) onPortalChosen_();
        },
        Qt::QueuedConnection);
    connect(&shortcuts_, &PortalShortcuts::bindFinished, this, &PortalHotkeys::onBindFinished, Qt::QueuedConnection);
    connect(
        &shortcuts_, &PortalShortcuts::activated, this,
        [this](int id) {
            if (onHotkey_) onHotkey_(id);
        },
        Qt::QueuedConnection);
}

std::error_code PortalHotkeys::registerHotkey(int id, unsigned modifiers, unsigned virtualKey) {
    if (fallback_) {
        if (auto error = fallback_->registerHotkey(id, modifiers, virtualKey)) return error;
    } else if (held_.contains(id) || !PortalShortcuts::asksFor(id, modifiers, virtualKey)) {
        return std::make_error_code(std::errc::invalid_argument);
    } else {
        shortcuts_.start();
    }
    held_[id] = {modifiers, virtualKey};
    return {};
}

void PortalHotkeys::unregisterHotkey(int id) {
    if (!held_.erase(id)) return;
    if (fallback_) return fallback_->unregisterHotkey(id);
    if (held_.empty()) shortcuts_.close();
}

void PortalHotkeys::setHotkeyHandler(std::function<void(int id)> onHotkey) {
    onHotkey_ = std::move(onHotkey);
    if (fallback_) fallback_->setHotkeyHandler(onHotkey_);
}

void PortalHotkeys::setRefusalHandler(std::function<void(std::vector<int> ids)> onRefused) {
    onRefused_ = std::move(onRefused);
}

void PortalHotkeys::onBindFinished(PortalShortcuts::Outcome outcome) {
    using Outcome = PortalShortcuts::Outcome;
    switch (outcome) {
    case Outcome::pending:
        return;
    case Outcome::notOffered:
        // Later, the portal left the bus: it is bound again when it returns.
        if (!chosen_) fallBack();
        return;
    case Outcome::bound: {
        std::vector<int> unbound;
        for (const auto& [id, keys] : held_) {
            if (!shortcuts_.isBound(id)) unbound.push_back(id);
        }
        return refuse(unbound);
    }
    case Outcome::cancelled:
    case Outcome::refused:
    case Outcome::failed: {
        std::vector<int> all;
        for (const auto& [id, keys] : held_)
            all.push_back(id);
        return refuse(all);
    }
    }
}

void PortalHotkeys::fallBack() {
    chosen_ = true;
    shortcuts_.close();
    fallback_ = makeFallback_();
    if (onHotkey_) fallback_->setHotkeyHandler(onHotkey_);
    std::vector<int> failed;
    for (const auto& [id, keys] : held_) {
        if (fallback_->registerHotkey(id, keys.first, keys.second)) failed.push_back(id);
    }
    refuse(failed);
}

void PortalHotkeys::refuse(const std::vector<int>& ids) {
    std::vector<int> refused;
    for (const int id : ids) {
        if (held_.erase(id)) refused.push_back(id);
    }
    if (!fallback_ && held_.empty()) shortcuts_.close();
    if (!refused.empty() && onRefused_) onRefused_(refused);
}

} // namespace murmora
