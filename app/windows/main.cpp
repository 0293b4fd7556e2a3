// Murmora for Windows: the record panel.
#include <windows.h>

#include <objbase.h>

#include <string>

#include "app/windows/win32_panel.h"
#include "platform/win32/win32_messages.h"
#include "platform/win32/win32_panel_instance.h"

namespace {

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        murmora::win32::dispatchMessage(message);
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A second start brings the running panel to the front and ends.
    murmora::win32::Win32PanelInstance instance;
    if (!instance.claim()) return EXIT_SUCCESS;
    // GDI+ and the file dialogs need COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = EXIT_FAILURE;
    {
        murmora::win32::Win32Panel panel;
        if (const auto failure = panel.start()) {
            MessageBoxW(nullptr, murmora::toWide("Murmora cannot start.\n\n" + *failure).c_str(), L"Murmora",
                        MB_OK | MB_ICONERROR);
        } else {
            status = runMessageLoop();
        }
    }
    CoUninitialize();
    return status;
}
