// Reads and works the running panel of murmora.exe through MSAA from another program, as a
// screen reader does:
//   msaa_probe names          the names of the panel's children, one a line
//   msaa_probe value NAME     the value of the child NAME
//   msaa_probe press NAME     does the default action of the child NAME
//   msaa_probe focused        the name of the child that has the focus
// Status 1 with a word on standard error when the panel or the child is not there.
#include <windows.h>

#include <objidl.h>
#include <oleacc.h>

#include <cstdio>
#include <string>

#include "platform/wide/wide.h"
#include "tests/windows/msaa_support.h"

namespace {

using murmora::fromWide;
using murmora::msaa::childId;
using murmora::msaa::takeText;

int fail(const char* words) {
    std::fprintf(stderr, "%s\n", words);
    return 1;
}

std::wstring nameOf(IAccessible* panel, long id) {
    BSTR name = nullptr;
    if (panel->get_accName(childId(id), &name) != S_OK) return L"";
    return takeText(name);
}

int run(int argc, wchar_t** argv, IAccessible* panel) {
    long count = 0;
    if (panel->get_accChildCount(&count) != S_OK) return fail("the panel does not say how many children it has");
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"names") {
        for (long id = 1; id <= count; ++id)
            std::printf("%s\n", fromWide(nameOf(panel, id)).c_str());
        return 0;
    }
    if (command == L"focused") {
        VARIANT focus;
        if (panel->get_accFocus(&focus) != S_OK || focus.vt != VT_I4) return fail("nothing has the focus");
        std::printf("%s\n", fromWide(nameOf(panel, focus.lVal)).c_str());
        return 0;
    }
    if (command == L"value" && argc == 3) {
        for (long id = 1; id <= count; ++id) {
            BSTR value = nullptr;
            if (nameOf(panel, id) != argv[2]) continue;
            if (panel->get_accValue(childId(id), &value) != S_OK) return fail("no value");
            std::printf("%s\n", fromWide(takeText(value)).c_str());
            return 0;
        }
        return fail("no such child");
    }
    if (command == L"press" && argc == 3) {
        for (long id = 1; id <= count; ++id)
            if (nameOf(panel, id) == argv[2])
                return panel->accDoDefaultAction(childId(id)) == S_OK ? 0 : fail("no press");
        return fail("no such child");
    }
    return fail("usage: msaa_probe names | focused | value NAME | press NAME");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HWND window = FindWindowW(L"MurmoraPanel", L"Murmora");
    if (!window) return fail("no panel");
    IAccessible* panel = nullptr;
    if (AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&panel)) != S_OK)
        return fail("the panel gives no accessible object");
    const int status = run(argc, argv, panel);
    panel->Release();
    CoUninitialize();
    return status;
}
