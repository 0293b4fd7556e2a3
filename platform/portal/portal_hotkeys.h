#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "core/key_sequence.h"
#include "platform/hotkeys.h"
#include "platform/portal/portal_shortcuts.h"

namespace murmora {

// A key combination as the portal's preferred trigger, in the XDG shortcut notation:
// "CTRL+ALT+r" for Ctrl+Alt+R.
QString portalTrigger(const KeyCombination& keys);

// Where a desktop named as XDG_CURRENT_DESKTOP names it (a list split by ':') sets the keys of
// the shortcuts its portal binds; empty for a desktop not known here.
std::string shortcutSettingsOf(std::string_view currentDesktop);

// The hotkeys of a Wayland session: the desktop portal's global shortcuts where the portal
// offers them (told to `onPortalChosen`), else the hotkeys that `makeFallback` makes then (the
// X11 grabs through XWayland, which see keys only while an X11 window has the focus).
// A hotkey is a shortcut of the portal under its name. Registering it succeeds at once and asks
// the portal for it together with every hotkey held; a hotkey that is then not had
// (the user declines the desktop's question or leaves it without keys, or the fallback cannot
// grab it) goes to the refusal handler. Presses reach the hotkey handler through the event
// loop, so that the action may open dialogs of its own. Lives on the user-interface thread.
class PortalHotkeys final : public QObject, public Hotkeys {
    Q_OBJECT
public:
    using MakeFallback = std::function<std::unique_ptr<Hotkeys>()>;

    PortalHotkeys(QDBusConnection bus, const QString& appId, MakeFallback makeFallback,
                  std::function<void()> onPortalChosen);

    std::error_code registerHotkey(const Hotkey& hotkey) override;
    // The last hotkey given back closes the portal session.
    void unregisterHotkey(int id) override;
    void setHotkeyHandler(std::function<void(int id)> onHotkey) override;
    void setRefusalHandler(std::function<void(std::vector<int> ids)> onRefused) override;
    std::string keysOf(const Hotkey& hotkey) const override;
    bool global() const override { return !fallback_; }
    void setChangeHandler(std::function<void()> onChanged) override;
    std::string keysSettingsPlace() const override;

private:
    void bindHeld();
    void onBindFinished(PortalShortcuts::Outcome outcome);
    void fallBack();
    // Tells the refusal handler those of `ids` that were still held, and forgets them.
    void refuse(const std::vector<int>& ids);

    PortalShortcuts shortcuts_;
    MakeFallback makeFallback_;
    std::function<void()> onPortalChosen_;
    bool chosen_ = false; // the portal, or the fallback
    std::unique_ptr<Hotkeys> fallback_;
    std::map<int, Hotkey> held_; // by id
    std::function<void(int)> onHotkey_;
    std::function<void(std::vector<int>)> onRefused_;
    std::function<void()> onChanged_;
};

} // namespace murmora
