// The Windows panel with the keyboard and as screen readers read it through MSAA, against the
// real calls (under Wine in CI).
#include <windows.h>

#include <objidl.h>
#include <oleacc.h>

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/win32_panel_window.h"
#include "platform/win32/win32_picture.h"
#include "tests/windows/msaa_support.h"

namespace murmora {
using namespace murmora::win32;
namespace {

struct Reported {
    std::wstring button;
    char event;
    int buttons;
    double x, y;
    bool operator==(const Reported&) const = default;
};

// Lets the window's messages and timers run for `ms` milliseconds.
void pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

using msaa::childId;
using msaa::takeText;

class PanelKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr);
        for (int i = 0; i < Win32PanelWindow::kButtonCount; ++i) {
            PanelButton& button = window.buttonInReadingOrder(i);
            // Not the moves of the pointer passing over the window with no button held.
            const auto recorder = [this, &button](char event) -> MouseHandler {
                return [this, &button, event](int b, double x, double y) {
                    if (b != 0) reports.push_back({button.name(), event, b, x, y});
                };
            };
            button.setMouseHandlers({recorder('d'), recorder('m'), recorder('u')});
            // An opaque square picture: its focus ring is a circle round it.
            button.setPicture(makeWin32Picture("square", 10, 10, std::vector<std::uint32_t>(100, 0xFF404040)));
        }
        window.show();
        SetForegroundWindow(window.handle());
        SetFocus(window.handle());
        pump(50);
    }
    void TearDown() override {
        DestroyWindow(window.handle());
        Gdiplus::GdiplusShutdown(gdiplus);
        CoUninitialize();
    }

    void key(WPARAM key, bool shift = false) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        SendMessageW(window.handle(), WM_KEYDOWN, key, 1);
        SendMessageW(window.handle(), WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    std::wstring focusedName() const { return window.buttonInReadingOrder(window.focusedButton()).name(); }

    IAccessible* accessible() {
        IAccessible* object = nullptr;
        EXPECT_EQ(AccessibleObjectFromWindow(window.handle(), static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)),
                  S_OK);
        return object;
    }

    // The pixels of the panel's client as WM_PRINTCLIENT draws them, 0x00RRGGBB.
    std::vector<std::uint32_t> printed() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader,
                          panel_layout::kWindow.width,
                          -panel_layout::kWindow.height,
                          1,
                          32,
                          BI_RGB,
                          0,
                          0,
                          0,
                          0,
                          0};
        void* bits = nullptr;
        const HDC canvas = CreateCompatibleDC(nullptr);
        const HBITMAP surface = CreateDIBSection(canvas, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HGDIOBJ previous = SelectObject(canvas, surface);
        SendMessageW(window.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        std::vector<std::uint32_t> copy(pixels, pixels + panel_layout::kWindow.width * panel_layout::kWindow.height);
        SelectObject(canvas, previous);
        DeleteObject(surface);
        DeleteDC(canvas);
        for (std::uint32_t& pixel : copy)
            pixel &= 0xFFFFFF;
        return copy;
    }

    ULONG_PTR gdiplus = 0;
    Win32PanelWindow window;
    std::vector<Reported> reports;
};

TEST_F(PanelKeyboard, TabGoesRoundTheButtonsInReadingOrderFromRecordAndShiftTabBack) {
    EXPECT_EQ(focusedName(), L"Record");
    std::vector<std::wstring> visited;
    for (int i = 0; i < 7; ++i) {
        key(VK_TAB);
        visited.push_back(focusedName());
    }
    EXPECT_EQ(visited, (std::vector<std::wstring>{L"Close", L"Stop Recording", L"Convert Wav To mp3", L"Play File",
                                                  L"Set Recording Schedule", L"Minimize", L"Record"}));
    key(VK_TAB, true);
    EXPECT_EQ(focusedName(), L"Minimize");
}

// A button of 55 x 55 pixels has its middle at 27, 27; the record button's 100 x 21 pixels
// put it at 50, 10.
TEST_F(PanelKeyboard, SpaceAndEnterAreAClickInTheMiddleAndEscapeGivesUpAHeldSpace) {
    key(VK_TAB); // Close
    key(VK_TAB); // Stop Recording
    SendMessageW(window.handle(), WM_KEYDOWN, VK_SPACE, 1);
    SendMessageW(window.handle(), WM_KEYDOWN, VK_SPACE, 1 | (1u << 30)); // held: repeats change nothing
    EXPECT_EQ(reports, (std::vector<Reported>{{L"Stop Recording", 'd', kLeftButton, 27, 27}}));
    SendMessageW(window.handle(), WM_KEYUP, VK_SPACE, 1 | (1u << 30) | (1u << 31));
    EXPECT_EQ(reports.back(), (Reported{L"Stop Recording", 'u', kLeftButton, 27, 27}));

    reports.clear();
    SendMessageW(window.handle(), WM_KEYDOWN, VK_SPACE, 1);
    key(VK_ESCAPE);
    SendMessageW(window.handle(), WM_KEYUP, VK_SPACE, 1 | (1u << 30) | (1u << 31));
    EXPECT_EQ(reports, (std::vector<Reported>{{L"Stop Recording", 'd', kLeftButton, 27, 27},
                                              {L"Stop Recording", 'm', kLeftButton, -1, -1}}));

    reports.clear();
    key(VK_TAB, true);
    key(VK_TAB, true); // Record
    key(VK_RETURN);
    EXPECT_EQ(reports, (std::vector<Reported>{{L"Record", 'd', kLeftButton, 50, 10}})) << "pressed for 0.1 s";
    pump(300);
    EXPECT_EQ(reports.back(), (Reported{L"Record", 'u', kLeftButton, 50, 10}));
}

TEST_F(PanelKeyboard, ScreenReadersReadSevenPushButtonsByNameAndPressThem) {
    IAccessible* panel = accessible();
    ASSERT_NE(panel, nullptr);
    long count = 0;
    EXPECT_EQ(panel->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 10) << "the seven buttons and the display's three parts";
    BSTR name = nullptr;
    EXPECT_EQ(panel->get_accName(childId(CHILDID_SELF), &name), S_OK);
    EXPECT_EQ(takeText(name), L"Murmora");
    std::vector<std::wstring> names;
    for (long id = 1; id <= 7; ++id) {
        EXPECT_EQ(panel->get_accName(childId(id), &name), S_OK);
        names.push_back(takeText(name));
        VARIANT role;
        EXPECT_EQ(panel->get_accRole(childId(id), &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
        BSTR action = nullptr;
        EXPECT_EQ(panel->get_accDefaultAction(childId(id), &action), S_OK);
        EXPECT_EQ(takeText(action), L"Press");
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Minimize", L"Record", L"Close", L"Stop Recording",
                                                L"Convert Wav To mp3", L"Play File", L"Set Recording Schedule"}));

    VARIANT state;
    EXPECT_EQ(panel->get_accState(childId(2), &state), S_OK);
    EXPECT_EQ(state.lVal & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_PRESSED),
              STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED);
    window.recordButton.setStatusText("recording");
    EXPECT_EQ(panel->get_accState(childId(2), &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_PRESSED);
    BSTR description = nullptr;
    EXPECT_EQ(panel->get_accDescription(childId(2), &description), S_OK);
    EXPECT_EQ(takeText(description), L"recording");

    EXPECT_EQ(panel->accDoDefaultAction(childId(4)), S_OK); // Stop Recording
    pump(300);
    EXPECT_EQ(reports, (std::vector<Reported>{{L"Stop Recording", 'd', kLeftButton, 27, 27},
                                              {L"Stop Recording", 'u', kLeftButton, 27, 27}}));
    VARIANT focus;
    EXPECT_EQ(panel->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 4) << "the pressed button has the focus";
    panel->Release();
}

// Read when reviewed, without a focus of their own: the take's seconds and the size as static
// texts, the level as a bar whose value is its reading.
TEST_F(PanelKeyboard, ScreenReadersReadTheDisplaysSecondsSizeAndLevel) {
    IAccessible* panel = accessible();
    ASSERT_NE(panel, nullptr);
    const auto read = [panel](long id) {
        BSTR name = nullptr;
        BSTR value = nullptr;
        VARIANT role;
        VARIANT state;
        panel->get_accName(childId(id), &name);
        panel->get_accValue(childId(id), &value);
        EXPECT_EQ(panel->get_accRole(childId(id), &role), S_OK);
        EXPECT_EQ(panel->get_accState(childId(id), &state), S_OK);
        EXPECT_FALSE(state.lVal & STATE_SYSTEM_FOCUSABLE) << id;
        return std::tuple(takeText(name), takeText(value), role.lVal, (state.lVal & STATE_SYSTEM_INVISIBLE) != 0);
    };
    EXPECT_EQ(read(8), std::tuple(std::wstring(), std::wstring(), long{ROLE_SYSTEM_STATICTEXT}, true));
    EXPECT_EQ(read(10), std::tuple(std::wstring(L"Input level"), std::wstring(), long{ROLE_SYSTEM_PROGRESSBAR}, true));

    window.secondsLabel.setCaption("12 sec");
    window.sizeLabel.setCaption("1.0 MB");
    window.levelDisplay.setLevel(-6.3);
    window.levelDisplay.showClipMark();
    EXPECT_EQ(read(8), std::tuple(std::wstring(L"12 sec"), std::wstring(), long{ROLE_SYSTEM_STATICTEXT}, false));
    EXPECT_EQ(read(9), std::tuple(std::wstring(L"1.0 MB"), std::wstring(), long{ROLE_SYSTEM_STATICTEXT}, false));
    EXPECT_EQ(read(10), std::tuple(std::wstring(L"Input level"), std::wstring(L"-6 dBFS, clipped"),
                                   long{ROLE_SYSTEM_PROGRESSBAR}, false));
    VARIANT next;
    EXPECT_EQ(panel->accNavigate(NAVDIR_NEXT, childId(7), &next), S_OK);
    EXPECT_EQ(next.lVal, 8) << "the display follows the buttons";
    panel->Release();
}

using PanelLevel = PanelKeyboard;

// About 20 levels a second come in: each repaints only the pixels between the bar's old end and
// its new one, and none when its length holds.
TEST_F(PanelLevel, RepaintsOnlyThePixelsTheBarChanges) {
    const RECT bar = PanelLevelDisplay::kBarPlace;
    window.levelDisplay.setLevel(-30);
    UpdateWindow(window.handle());
    const int before = *window.levelDisplay.barPixels();
    window.levelDisplay.setLevel(-30);
    EXPECT_FALSE(GetUpdateRect(window.handle(), nullptr, FALSE)) << "the same length, repainted";
    window.levelDisplay.setLevel(-6);
    const int after = *window.levelDisplay.barPixels();
    RECT changed{};
    ASSERT_TRUE(GetUpdateRect(window.handle(), &changed, FALSE));
    EXPECT_EQ(std::tuple(changed.left, changed.top, changed.right, changed.bottom),
              std::tuple(bar.left + before, bar.top, bar.left + after, bar.bottom));
}

// The mark is amber; the test's buttons are grey squares on the black backdrop.
int amberPixels(const std::vector<std::uint32_t>& pixels, const RECT& within) {
    int amber = 0;
    for (int y = within.top; y < within.bottom; ++y) {
        for (int x = within.left; x < within.right; ++x) {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(y * panel_layout::kWindow.width + x)];
            amber += ((pixel >> 16) & 0xFF) > 150 && ((pixel >> 8) & 0xFF) > 80 && (pixel & 0xFF) < 100;
        }
    }
    return amber;
}

TEST_F(PanelKeyboard, TheFocusedButtonWearsTheMarkOnlyOnceTheKeyboardIsUsed) {
    const RECT all{0, 0, panel_layout::kWindow.width, panel_layout::kWindow.height};
    EXPECT_EQ(amberPixels(printed(), all), 0);
    key(VK_TAB); // Close, whose 10 x 10 picture at 136, 8 gets a ring of radius 6 round it
    const std::vector<std::uint32_t> marked = printed();
    const RECT around{133, 5, 149, 21};
    EXPECT_GT(amberPixels(marked, around), 30);
    EXPECT_EQ(amberPixels(marked, around), amberPixels(marked, all)) << "a mark elsewhere";
}

} // namespace
} // namespace murmora
