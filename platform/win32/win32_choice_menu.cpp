#include "platform/win32/win32_choice_menu.h"

#include "platform/wide/wide.h"

#include <commctrl.h>

namespace murmora::win32 {
namespace {

// A menu shows "&" as the underline of the next letter: doubled, it shows itself.
std::wstring menuText(const std::string& text) {
    std::wstring shown;
    for (const wchar_t c : toWide(text)) {
        if (c == L'&') shown += L'&';
        shown += c;
    }
    return shown;
}

TTTOOLINFOW panelTool(HWND panel, std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = panel;
    tool.uId = reinterpret_cast<UINT_PTR>(panel);
    tool.lpszText = text.data();
    return tool;
}

} // namespace

Win32ChoiceMenu::Win32ChoiceMenu(Win32PanelWindow& panel) : panel_(panel) {
    panel_.onMenuAsked = [this](POINT at) {
        openAt_ = at;
        if (onOpen_) onOpen_();
    };
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0,
                               0, 0, panel_.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW tool = panelTool(panel_.handle(), toolTipText_);
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

Win32ChoiceMenu::~Win32ChoiceMenu() {
    panel_.onMenuAsked = nullptr;
    if (toolTip_) DestroyWindow(toolTip_);
}

void Win32ChoiceMenu::setToolTip(const std::string& text) {
    toolTipText_ = toWide(text);
    TTTOOLINFOW tool = panelTool(panel_.handle(), toolTipText_);
    SendMessageW(toolTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::optional<MenuChoice> Win32ChoiceMenu::show(const std::vector<MenuPart>& parts) {
    const HMENU menu = CreatePopupMenu();
    std::vector<MenuChoice> choices; // of each entry, by its command less one
    for (std::size_t p = 0; p < parts.size(); ++p) {
        if (p > 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        if (!parts[p].heading.empty()) AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, menuText(parts[p].heading).c_str());
        const UINT first = static_cast<UINT>(choices.size()) + 1;
        for (std::size_t e = 0; e < parts[p].entries.size(); ++e) {
            choices.push_back({p, e});
            AppendMenuW(menu, MF_STRING, choices.size(), menuText(parts[p].entries[e]).c_str());
        }
        if (parts[p].checked && *parts[p].checked < parts[p].entries.size())
            CheckMenuRadioItem(menu, first, static_cast<UINT>(choices.size()),
                               first + static_cast<UINT>(*parts[p].checked), MF_BYCOMMAND);
    }
    // The menu closes when the user clicks elsewhere only while its window is in the front.
    SetForegroundWindow(panel_.handle());
    const auto chosen = static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                           openAt_.x, openAt_.y, panel_.handle(), nullptr));
    PostMessageW(panel_.handle(), WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen == 0 || chosen > choices.size()) return std::nullopt;
    return choices[chosen - 1];
}

} // namespace murmora::win32
