#include "platform/portal/portal_hotkeys.h"

#include <algorithm>
#include <utility>

#include "core/texts.h"

namespace murmora {

QString portalTrigger(const KeyCombination& keys) {
    QString trigger;
    if (keys.control) trigger += QStringLiteral("CTRL+");
    if (keys.alt) trigger += QStringLiteral("ALT+");
    if (keys.shift) trigger += QStringLiteral("SHIFT+");
    // The key by its keysym's name: a letter in lower case, or a digit.
    return trigger + QChar::fromLatin1(keys.key).toLower();
}

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
            // A shortcut given back may still be bound until the session closes.
            if (onHotkey_ && held_.contains(id)) onHotkey_(id);
        },
        Qt::QueuedConnection);
    connect(
        &shortcuts_, &PortalShortcuts::triggersChanged, this,
        [this] {
            if (onChanged_) onChanged_();
        },
        Qt::QueuedConnection);
}

std::error_code PortalHotkeys::registerHotkey(const Hotkey& hotkey) {
    if (fallback_) {
        if (auto error = fallback_->registerHotkey(hotkey)) return error;
        held_.emplace(hotkey.id, hotkey);
        return {};
    }
    const bool nameTaken =
        std::ranges::any_of(held_, [&](const auto& held) { return held.second.name == hotkey.name; });
    if (held_.contains(hotkey.id) || nameTaken || !parseKeySequence(hotkey.keys))
        return std::make_error_code(std::errc::invalid_argument);
    held_.emplace(hotkey.id, hotkey);
    bindHeld();
    return {};
}

void PortalHotkeys::bindHeld() {
    std::vector<PortalShortcuts::Wanted> wanted;
    for (const auto& [id, hotkey] : held_) {
        wanted.push_back({id, QString::fromStdString(hotkey.name), QString::fromStdString(hotkey.description),
                          portalTrigger(*parseKeySequence(hotkey.keys))});
    }
    shortcuts_.bind(std::move(wanted));
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

std::string PortalHotkeys::keysOf(const Hotkey& hotkey) const {
    if (fallback_) return fallback_->keysOf(hotkey);
    const QString trigger = shortcuts_.triggerOf(hotkey.id);
    return trigger.isEmpty() ? hotkey.keys : trigger.toStdString();
}

std::string shortcutSettingsOf(std::string_view currentDesktop) {
    const auto names = [&](std::string_view desktop) {
        for (std::size_t start = 0; start <= currentDesktop.size();) {
            const std::size_t end = std::min(currentDesktop.find(':', start), currentDesktop.size());
            if (currentDesktop.substr(start, end - start) == desktop) return true;
            start = end + 1;
        }
        return false;
    };
    // TRANSLATORS: the names of the places in KDE's System Settings, as KDE names them in your language.
    if (names("KDE")) return translated("System Settings, Shortcuts");
    // TRANSLATORS: the names of the places in GNOME's Settings, as GNOME names them in your language.
    if (names("GNOME")) return translated("Settings, Keyboard, Keyboard Shortcuts");
    return {};
}

std::string PortalHotkeys::keysSettingsPlace() const {
    if (fallback_) return {};
    return shortcutSettingsOf(qgetenv("XDG_CURRENT_DESKTOP").toStdString());
}

void PortalHotkeys::setChangeHandler(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

void PortalHotkeys::onBindFinished(PortalShortcuts::Outcome outcome) {
    using Outcome = PortalShortcuts::Outcome;
    // Queued: an outcome that a later binding has overtaken since is passed over.
    if (outcome != shortcuts_.outcome()) return;
    switch (outcome) {
    case Outcome::pending:
        return;
    case Outcome::notOffered:
        // Later, the portal left the bus: it is bound again when it returns.
        if (!chosen_) fallBack();
        return;
    case Outcome::bound: {
        std::vector<int> unbound;
        for (const auto& [id, hotkey] : held_) {
            if (!shortcuts_.isBound(id)) unbound.push_back(id);
        }
        return refuse(unbound);
    }
    case Outcome::cancelled:
    case Outcome::refused:
    case Outcome::failed: {
        std::vector<int> all;
        for (const auto& [id, hotkey] : held_)
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
    for (const auto& [id, hotkey] : held_) {
        if (fallback_->registerHotkey(hotkey)) failed.push_back(id);
    }
    refuse(failed);
    if (onChanged_) onChanged_(); // no longer global
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
