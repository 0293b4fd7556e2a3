#pragma once
#include "platform/wide/wide.h"

#include <oleacc.h>

namespace murmora::win32 {

class Win32PanelWindow;

// What screen readers read of the panel through MSAA: its client, named "Murmora", holds the
// picture buttons in reading order as simple children 1 to 7, push buttons by their names,
// focusable, pressed while held down or while they have a status ("recording"), which is then
// their description; their default action "Press" clicks them as Enter does. The display follows
// as children 8 to 10, read-only and not focusable, read when a screen reader reviews the panel
// (no event at each change, which it would speak as it comes): the take's seconds and the size
// as static texts named by what they show, and the level as the progress bar "Input level"
// whose value is its reading ("-12 dBFS"); each is invisible while it shows nothing. The panel makes it
// at the first WM_GETOBJECT and cuts it off when it goes: a screen reader that still holds it
// then hears that it is gone.
class Win32PanelAccessible final : public IAccessible {
public:
    explicit Win32PanelAccessible(Win32PanelWindow& panel) : panel_(&panel) {}
    Win32PanelAccessible(const Win32PanelAccessible&) = delete;
    Win32PanelAccessible& operator=(const Win32PanelAccessible&) = delete;
    void disconnect() { panel_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: not offered; screen readers call IAccessible itself.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~Win32PanelAccessible() = default;
    // Whether `child` names the client (CHILDID_SELF) or one of its buttons; E_INVALIDARG if
    // neither, RPC_E_DISCONNECTED once the panel is gone.
    HRESULT check(const VARIANT& child) const;

    Win32PanelWindow* panel_;
    LONG references_ = 1;
};

} // namespace murmora::win32
