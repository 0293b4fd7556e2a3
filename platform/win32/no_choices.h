#pragma once
#include "platform/choice_menu.h"
#include "platform/settings.h"

namespace murmora::win32 {

// The panel's choices on Windows while its engine records from the default input to WAV only:
// there is nothing to choose, so the menu never opens and no tooltip names the choice.
class NoChoiceMenu final : public ChoiceMenu {
public:
    void setOpenHandler(std::function<void()>) override {}
    std::optional<MenuChoice> show(const std::vector<MenuPart>&) override { return std::nullopt; }
    void setToolTip(const std::string&) override {}
};

// No settings are kept: every run starts from the defaults, the only choices there are.
class UnkeptSettings final : public SettingsStore {
public:
    Settings load() override { return {}; }
    std::error_code save(const Settings&) override { return std::make_error_code(std::errc::not_supported); }
};

} // namespace murmora::win32
