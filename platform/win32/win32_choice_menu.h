#pragma once
#include "platform/choice_menu.h"
#include "platform/win32/win32_panel_window.h"

namespace murmora::win32 {

// The panel's menu of choices as a Win32 popup menu: each part under a greyed heading, the parts
// apart by a line, the present choice of each part marked with a dot. It opens where the right
// mouse button was pressed and let go on a free spot of the panel without the pointer having
// moved, or by the panel's middle with the menu key or Shift+F10 (Win32PanelWindow::onMenuAsked).
// The tooltip is the panel's own, shown wherever the pointer rests on it.
class Win32ChoiceMenu final : public ChoiceMenu {
public:
    explicit Win32ChoiceMenu(Win32PanelWindow& panel);
    ~Win32ChoiceMenu() override;
    Win32ChoiceMenu(const Win32ChoiceMenu&) = delete;
    Win32ChoiceMenu& operator=(const Win32ChoiceMenu&) = delete;

    void setOpenHandler(std::function<void()> onOpen) override { onOpen_ = std::move(onOpen); }
    std::optional<MenuChoice> show(const std::vector<MenuPart>& parts) override;
    void setToolTip(const std::string& text) override;

private:
    Win32PanelWindow& panel_;
    HWND toolTip_ = nullptr;
    std::wstring toolTipText_; // the tooltip holds on to it
    std::function<void()> onOpen_;
    POINT openAt_{}; // on the screen
};

} // namespace murmora::win32
