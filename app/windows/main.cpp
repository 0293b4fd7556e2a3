// Murmora for Windows: the record panel.
#include <windows.h>

#include <objbase.h>

#include <filesystem>
#include <string>

#include "app/windows/win32_panel.h"
#include "core/texts.h"
#include "platform/win32/win32_files.h"
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
    // The catalogues lie beside the program; the language is LANGUAGE's, LC_ALL's, LC_MESSAGES's or
    // LANG's where one is set, else the user's Windows display language (gettext asks Windows).
    murmora::readCataloguesFrom(std::filesystem::path(murmora::toWide(murmora::win32::Win32Files().programFolder())) /
                                L"locale");
    // Lengths and sizes on show take the user's decimal separator.
    murmora::noteUsersDecimalSeparator();
    // A second start brings the running panel to the front and ends.
    murmora::win32::Win32PanelInstance instance;
    if (!instance.claim()) return EXIT_SUCCESS;
    // GDI+ and the file dialogs need COM on this thread.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = EXIT_FAILURE;
    {
        murmora::win32::Win32Panel panel;
        if (const auto failure = panel.start()) {
            MessageBoxW(nullptr,
                        murmora::toWide(murmora::translated("Murmora cannot start.\n\n%s", {*failure})).c_str(),
                        L"Murmora", MB_OK | MB_ICONERROR);
        } else {
            status = runMessageLoop();
        }
    }
    CoUninitialize();
    return status;
}
