// Asks the running murmora.exe what a user sees and feels, from another program:
//   panel_probe message          waits up to 15 s for a message box titled "Murmora" and prints
//                                its text
//   panel_probe stall SECONDS [save]
//                                for SECONDS, sends the panel one message after another and
//                                prints the longest time it took to answer one, in ms: how long
//                                its user-interface thread was kept from its messages; with save,
//                                only the answers to messages sent once the save dialog has gone,
//                                up to the message box that tells the save's end (the answer
//                                during which the box was made is left out)
// Status 1 with a word on standard error when the panel or the box is not there.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>

#include "platform/wide/wide.h"

namespace {

using Clock = std::chrono::steady_clock;

// The message text of a message box (Windows and Wine give it this control id).
constexpr int kMessageBoxText = 0xFFFF;

int fail(const char* words) {
    std::fprintf(stderr, "%s\n", words);
    return 1;
}

std::wstring textOf(HWND window) {
    wchar_t text[2048] = L"";
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000, &copied);
    return text;
}

// The text of the first visible message box titled "Murmora".
std::optional<std::wstring> messageBoxText() {
    for (HWND box = FindWindowExW(nullptr, nullptr, L"#32770", L"Murmora"); box;
         box = FindWindowExW(nullptr, box, L"#32770", L"Murmora")) {
        if (!IsWindowVisible(box)) continue;
        if (const HWND words = GetDlgItem(box, kMessageBoxText)) return textOf(words);
    }
    return std::nullopt;
}

int message() {
    for (const auto end = Clock::now() + std::chrono::seconds(15); Clock::now() < end;) {
        if (const auto text = messageBoxText()) {
            std::printf("%s\n", murmora::fromWide(*text).c_str());
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return fail("no message box");
}

int stall(double seconds, bool save) {
    const HWND panel = FindWindowW(L"MurmoraPanel", nullptr);
    if (!panel) return fail("no panel");
    double longest = 0;
    long answers = 0;
    for (const auto end = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < end;) {
        const auto sent = Clock::now();
        const bool sentWhileDialogOpen = FindWindowW(nullptr, L"Save Recorded File") != nullptr;
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return fail("the panel is gone");
        if (save && messageBoxText()) break;
        if (!save || !sentWhileDialogOpen) {
            longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
            ++answers;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::printf("%.0f ms longest of %ld answers\n", longest, answers);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"message" && argc == 2) return message();
    if (command == L"stall" && (argc == 3 || (argc == 4 && std::wstring(argv[3]) == L"save")))
        return stall(std::wcstod(argv[2], nullptr), argc == 4);
    return fail("usage: panel_probe message | stall SECONDS [save]");
}
