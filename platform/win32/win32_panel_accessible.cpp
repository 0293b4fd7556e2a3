#include "platform/win32/win32_panel_accessible.h"
#include "platform/win32/win32_texts.h"

#include <string>

#include "platform/win32/win32_panel_window.h"

namespace murmora::win32 {

namespace {

const wchar_t* const kPanelName = L"Murmora";
const wchar_t* const kPressAction = L"Press";

const char* const kLevelName = textKey("Input level");

// Ids 1 to 7 are the buttons in reading order, then the display's seconds, size and level.
constexpr long kSecondsId = Win32PanelWindow::kButtonCount + 1;
constexpr long kSizeId = kSecondsId + 1;
constexpr long kLevelId = kSizeId + 1;
constexpr long kChildCount = kLevelId;

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
bool isButton(const VARIANT& child) { return child.lVal >= 1 && child.lVal <= Win32PanelWindow::kButtonCount; }

// The button a child id names.
int buttonIndex(const VARIANT& child) { return child.lVal - 1; }

// A part of the display as screen readers read it.
struct DisplayPart {
    std::wstring name;
    std::wstring value;
    RECT place;
    long role;
    bool shown;
};

DisplayPart displayPart(const Win32PanelWindow& panel, long id) {
    if (id == kLevelId) {
        const std::wstring reading = panel.levelDisplay.reading();
        return {uiText(kLevelName), reading, PanelLevelDisplay::kBarPlace, ROLE_SYSTEM_PROGRESSBAR, !reading.empty()};
    }
    const PanelLabel& label = id == kSecondsId ? panel.secondsLabel : panel.sizeLabel;
    return {label.caption(), L"", label.place(), ROLE_SYSTEM_STATICTEXT, !label.caption().empty()};
}

HRESULT text(const std::wstring& words, BSTR* out) {
    *out = nullptr;
    if (words.empty()) return S_FALSE;
    *out = SysAllocStringLen(words.data(), static_cast<UINT>(words.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void setInteger(VARIANT* out, long value) {
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

} // namespace

HRESULT Win32PanelAccessible::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Win32PanelAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG Win32PanelAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT Win32PanelAccessible::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT Win32PanelAccessible::check(const VARIANT& child) const {
    if (!panel_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4 || child.lVal < CHILDID_SELF || child.lVal > kChildCount) return E_INVALIDARG;
    return S_OK;
}

HRESULT Win32PanelAccessible::get_accParent(IDispatch** parent) {
    *parent = nullptr;
    if (!panel_) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(panel_->handle(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
}

HRESULT Win32PanelAccessible::get_accChildCount(long* count) {
    if (!panel_) return RPC_E_DISCONNECTED;
    *count = kChildCount;
    return S_OK;
}

HRESULT Win32PanelAccessible::get_accChild(VARIANT child, IDispatch** object) {
    *object = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    return S_FALSE; // every child is simple, with no object of its own
}

HRESULT Win32PanelAccessible::get_accName(VARIANT child, BSTR* name) {
    *name = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (isSelf(child)) return text(kPanelName, name);
    if (isButton(child)) return text(panel_->buttonInReadingOrder(buttonIndex(child)).name(), name);
    return text(displayPart(*panel_, child.lVal).name, name);
}

HRESULT Win32PanelAccessible::get_accValue(VARIANT child, BSTR* value) {
    *value = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (child.lVal != kLevelId) return DISP_E_MEMBERNOTFOUND;
    return text(displayPart(*panel_, child.lVal).value, value);
}

HRESULT Win32PanelAccessible::get_accDescription(VARIANT child, BSTR* description) {
    *description = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (!isButton(child)) return S_FALSE;
    return text(panel_->buttonInReadingOrder(buttonIndex(child)).status(), description);
}

HRESULT Win32PanelAccessible::get_accRole(VARIANT child, VARIANT* role) {
    VariantInit(role);
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    setInteger(role, isSelf(child)     ? ROLE_SYSTEM_CLIENT
                     : isButton(child) ? ROLE_SYSTEM_PUSHBUTTON
                                       : displayPart(*panel_, child.lVal).role);
    return S_OK;
}

HRESULT Win32PanelAccessible::get_accState(VARIANT child, VARIANT* state) {
    VariantInit(state);
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (!isSelf(child) && !isButton(child)) {
        setInteger(state,
                   STATE_SYSTEM_READONLY | (displayPart(*panel_, child.lVal).shown ? 0 : STATE_SYSTEM_INVISIBLE));
        return S_OK;
    }
    long flags = STATE_SYSTEM_FOCUSABLE;
    if (isSelf(child)) {
        if (panel_->hasKeyboardFocus()) flags |= STATE_SYSTEM_FOCUSED;
    } else {
        const int index = buttonIndex(child);
        const PanelButton& button = panel_->buttonInReadingOrder(index);
        if (panel_->hasKeyboardFocus() && panel_->focusedButton() == index) flags |= STATE_SYSTEM_FOCUSED;
        if (panel_->isHeldDown(button) || !button.status().empty()) flags |= STATE_SYSTEM_PRESSED;
    }
    setInteger(state, flags);
    return S_OK;
}

HRESULT Win32PanelAccessible::get_accHelp(VARIANT child, BSTR* help) {
    *help = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Win32PanelAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    *file = nullptr;
    *topic = 0;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Win32PanelAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    *shortcut = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Win32PanelAccessible::get_accFocus(VARIANT* child) {
    VariantInit(child);
    if (!panel_) return RPC_E_DISCONNECTED;
    if (!panel_->hasKeyboardFocus()) return S_FALSE;
    setInteger(child, panel_->focusedButton() + 1);
    return S_OK;
}

HRESULT Win32PanelAccessible::get_accSelection(VARIANT* children) {
    VariantInit(children);
    return panel_ ? S_FALSE : RPC_E_DISCONNECTED;
}

HRESULT Win32PanelAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    *action = nullptr;
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (!isButton(child)) return DISP_E_MEMBERNOTFOUND;
    return text(kPressAction, action);
}

HRESULT Win32PanelAccessible::accSelect(long flags, VARIANT child) {
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (!isButton(child) || flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
    panel_->focusButton(buttonIndex(child));
    return S_OK;
}

HRESULT Win32PanelAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    RECT place{};
    if (isSelf(child)) {
        GetClientRect(panel_->handle(), &place);
    } else if (isButton(child)) {
        place = panel_->buttonInReadingOrder(buttonIndex(child)).place();
    } else {
        place = displayPart(*panel_, child.lVal).place;
    }
    MapWindowPoints(panel_->handle(), nullptr, reinterpret_cast<POINT*>(&place), 2);
    *left = place.left;
    *top = place.top;
    *width = place.right - place.left;
    *height = place.bottom - place.top;
    return S_OK;
}

HRESULT Win32PanelAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    VariantInit(end);
    if (const HRESULT valid = check(start); valid != S_OK) return valid;
    const long last = kChildCount;
    long to = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD:
        to = isSelf(start) ? 1 : 0;
        break;
    case NAVDIR_LASTCHILD:
        to = isSelf(start) ? last : 0;
        break;
    case NAVDIR_NEXT:
        to = !isSelf(start) && start.lVal < last ? start.lVal + 1 : 0;
        break;
    case NAVDIR_PREVIOUS:
        to = !isSelf(start) && start.lVal > 1 ? start.lVal - 1 : 0;
        break;
    default:
        return E_INVALIDARG;
    }
    if (to == 0) return S_FALSE;
    setInteger(end, to);
    return S_OK;
}

HRESULT Win32PanelAccessible::accHitTest(long x, long y, VARIANT* child) {
    VariantInit(child);
    if (!panel_) return RPC_E_DISCONNECTED;
    POINT at{x, y};
    ScreenToClient(panel_->handle(), &at);
    RECT client{};
    GetClientRect(panel_->handle(), &client);
    if (!PtInRect(&client, at)) return S_FALSE;
    long hit = CHILDID_SELF;
    for (long id = kSecondsId; id <= kLevelId; ++id) {
        const DisplayPart part = displayPart(*panel_, id);
        if (part.shown && PtInRect(&part.place, at)) hit = id;
    }
    for (int i = 0; i < Win32PanelWindow::kButtonCount; ++i)
        if (PtInRect(&panel_->buttonInReadingOrder(i).place(), at)) hit = i + 1;
    setInteger(child, hit);
    return S_OK;
}

HRESULT Win32PanelAccessible::accDoDefaultAction(VARIANT child) {
    if (const HRESULT valid = check(child); valid != S_OK) return valid;
    if (!isButton(child)) return DISP_E_MEMBERNOTFOUND;
    panel_->clickButton(buttonIndex(child));
    return S_OK;
}

} // namespace murmora::win32
