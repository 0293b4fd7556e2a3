#pragma once
// What a screen reader hands MSAA and gets back from it.
#include <windows.h>

#include <oleauto.h>

#include <string>

namespace murmora::msaa {

// The VARIANT that names child `id` of an object (CHILDID_SELF for the object itself).
inline VARIANT childId(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The text of a BSTR that MSAA handed over, which is freed.
inline std::wstring takeText(BSTR text) {
    std::wstring words = text ? std::wstring(text, SysStringLen(text)) : L"";
    SysFreeString(text);
    return words;
}

} // namespace murmora::msaa
