// Prints what Windows (here Wine) holds of the program's windows, for the test of a second
// start: the title of the foreground window, then whether the panel is "minimized" or "shown".
#include <windows.h>

#include <cstdio>

int main() {
    wchar_t title[256] = L"";
    GetWindowTextW(GetForegroundWindow(), title, 256);
    char text[1024] = "";
    WideCharToMultiByte(CP_UTF8, 0, title, -1, text, sizeof text, nullptr, nullptr);
    const HWND panel = FindWindowW(L"MurmoraPanel", nullptr);
    std::printf("%s\n%s\n", text, panel && IsIconic(panel) ? "minimized" : "shown");
    return 0;
}
