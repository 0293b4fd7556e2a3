// Every text of the Windows panel's display and of its schedule window fits its place, in English
// and in each language the build has a catalogue of, drawn in the font the window draws it in
// (under Wine in CI).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/texts.h"
#include "platform/wide/wide.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_panel_window.h"
#include "platform/win32/win32_schedule_dialog.h"
#include "platform/win32/win32_window_host.h"
#include "tests/support/speaking.h"

namespace murmora {
using namespace murmora::win32;
namespace {

// How wide `text` is in `font`, in pixels.
int widthOf(const std::wstring& text, HFONT font) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size.cx;
}

class WindowsTextsFit : public testing::Speaking, public ::testing::Test {
protected:
    WindowsTextsFit() : Speaking(std::filesystem::path(toWide(Win32Files().programFolder())) / L"locale") {}
};

TEST_P(WindowsTextsFit, TheDisplaysCaptionsFitTheirLabelsWithTheLongestValues) {
    Win32PanelWindow panel;
    const auto expectFits = [&panel](const PanelLabel& label, const std::string& caption) {
        const int room = label.place().right - label.place().left;
        EXPECT_LE(widthOf(toWide(caption), panel.displayFont()), room) << caption;
    };
    const std::string longestSeconds = "35999"; // the longest a schedule records
    expectFits(panel.secondsLabel, translated("%s sec", {longestSeconds}));
    expectFits(panel.secondsLabel, translated("%s sec paused", {longestSeconds}));
    expectFits(panel.sizeLabel, translated("%s KB", {"6201562.5"})); // that schedule, in stereo
    expectFits(panel.scheduleCaptionLabel, translated("Record:"));
}

TEST_P(WindowsTextsFit, TheSilenceWarningsFitTheNoteWhole) {
    const Win32PanelWindow panel;
    const RECT room = PanelLevelDisplay::kNoteTextPlace;
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(screen, panel.noteFont());
    for (const std::string& warning :
         {std::string(translated("The sound input is silent: check that the microphone is on and not muted.")),
          translated("%s is silent: check that it is on and not muted.", {"Built-in Audio Analog Stereo"}),
          std::string(translated("What the computer plays is silent: nothing is playing."))}) {
        const std::wstring text = toWide(warning);
        RECT needed{0, 0, room.right - room.left, 0};
        DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &needed,
                  PanelLevelDisplay::kNoteTextFormat | DT_CALCRECT);
        EXPECT_LE(needed.right, room.right - room.left) << warning;
        EXPECT_LE(needed.bottom, room.bottom - room.top) << warning;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
}

TEST_P(WindowsTextsFit, TheScheduleWindowsHeadingsFramesAndButtonsFit) {
    const Win32ScreenMetrics screen;
    const Win32ScheduleDialog dialog(nullptr, screen);
    EnumChildWindows(
        dialog.handle(),
        [](HWND control, LPARAM) -> BOOL {
            wchar_t kind[32] = L"";
            GetClassNameW(control, kind, 32);
            std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)), L'\0');
            GetWindowTextW(control, text.data(), static_cast<int>(text.size()) + 1);
            if (text.empty() || lstrcmpiW(kind, L"EDIT") == 0) return TRUE;
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            RECT client{};
            GetClientRect(control, &client);
            const LONG style = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
            const bool button = lstrcmpiW(kind, L"BUTTON") == 0;
            // A frame's title stands 7 pixels in from either edge (and is cut there), a check
            // box's after its box, a push button's inside its edge.
            int beside = 0;
            if (button && style == BS_GROUPBOX) beside = 14;
            if (button && style == BS_AUTOCHECKBOX) beside = GetSystemMetrics(SM_CXMENUCHECK) + 4;
            if (button && style == BS_PUSHBUTTON) beside = 2 * GetSystemMetrics(SM_CXEDGE) + 4;
            EXPECT_LE(widthOf(text, font) + beside, client.right) << fromWide(text);
            return TRUE;
        },
        0);
}

INSTANTIATE_TEST_SUITE_P(Languages, WindowsTextsFit, ::testing::ValuesIn(testing::languagesAndEnglish()),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace murmora
