#pragma once
#include "platform/wide/wide.h"

namespace murmora::win32 {

// One panel per user session. The first start holds a named mutex of the session for as long
// as it runs; a later start finds it held, brings the running panel to the front and ends.
class Win32PanelInstance {
public:
    Win32PanelInstance() = default;
    ~Win32PanelInstance();
    Win32PanelInstance(const Win32PanelInstance&) = delete;
    Win32PanelInstance& operator=(const Win32PanelInstance&) = delete;

    // True for the first panel of the session (also when no mutex can be had: the panel then runs
    // without one); false when another panel runs, which has then been brought to the front if its
    // window showed within a few seconds.
    bool claim();

private:
    HANDLE mutex_ = nullptr;
};

} // namespace murmora::win32
