// The Windows layer against the real Windows calls (under Wine in CI).
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/paths.h"
#include "platform/win32/win32_controls.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_hotkeys.h"
#include "platform/win32/win32_messages.h"
#include "platform/win32/win32_process_launcher.h"

namespace murmora {
using namespace murmora::win32;
namespace {

TEST(CommandLine, EveryArgumentComesBackAsItWasGiven) {
    const std::vector<std::string> arguments = {"plain",
                                                "with blanks",
                                                "",
                                                "say \"hi\"",
                                                "C:\\a folder\\",
                                                "back\\\\\"slash",
                                                "C:\\x y\\t.wav",
                                                "\xc3\xa9t\xc3\xa9 take.wav"};
    const std::wstring line = commandLine("C:\\Program Files\\Murmora\\LAME.exe", arguments);
    int count = 0;
    wchar_t** parsed = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(parsed, nullptr);
    ASSERT_EQ(count, static_cast<int>(arguments.size()) + 1);
    EXPECT_EQ(fromWide(parsed[0]), "C:\\Program Files\\Murmora\\LAME.exe");
    for (std::size_t i = 0; i < arguments.size(); ++i)
        EXPECT_EQ(fromWide(parsed[i + 1]), arguments[i]) << "argument " << i;
    LocalFree(parsed);
}

TEST(WindowsPaths, FolderAndNameUseTheWindowsSeparator) {
    const std::pair<std::string, std::string> folders[] = {
        {"C:\\a b\\take.wav", "C:\\a b"}, {"C:\\take.wav", "C:\\"}, {"take.wav", "."}, {"C:/a/take.wav", "C:/a"}};
    for (const auto& [path, folder] : folders)
        EXPECT_EQ(folderOf(path), folder) << path;
    EXPECT_EQ(pathInFolder("C:\\Users\\me", "AutoRec.wav"), "C:\\Users\\me\\AutoRec.wav");
    EXPECT_EQ(pathInFolder("C:\\", "AutoRec.wav"), "C:\\AutoRec.wav");
}

// A chosen name as the file Windows makes of it, which the format and the messages go by.
TEST(FileDialogName, IsTheFileWindowsCreatesWithoutTheDotsAndBlanksItDrops) {
    const std::pair<std::wstring, std::wstring> names[] = {{L"C:\\takes\\take.wav.", L"C:\\takes\\take.wav"},
                                                           {L"C:\\takes\\take. ", L"C:\\takes\\take"},
                                                           {L"C:\\takes\\take.mp3 . .", L"C:\\takes\\take.mp3"},
                                                           {L"C:\\takes\\take.mp3", L"C:\\takes\\take.mp3"},
                                                           {L"C:\\a b\\..\\take.flac", L"C:\\take.flac"}};
    for (const auto& [typed, created] : names)
        EXPECT_EQ(fromWide(nameAsCreated(typed)), fromWide(created)) << fromWide(typed);
}

TEST(FileDialogFilter, PartsAreSeparatedAndEndedByNuls) {
    EXPECT_EQ(dialogFilter(kWavFiles), std::wstring(L"Wav File (*.Wav)\0*.Wav\0\0", 24));
    EXPECT_EQ(dialogFilter({"Opus File (*.opus;*.ogg)", {"*.opus", "*.ogg"}}),
              std::wstring(L"Opus File (*.opus;*.ogg)\0*.opus;*.ogg\0\0", 39));
}

class Win32FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("murmora files " + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const char* name) const { return fromWide((folder / name).wstring()); }
    void write(const char* name, const char* text) const { std::ofstream(folder / name) << text; }

    std::filesystem::path folder;
    Win32Files files;
};

TEST_F(Win32FilesTest, OnlyAnOrdinaryFileExists) {
    write("plain.wav", "x");
    write("hidden.wav", "x");
    SetFileAttributesW((folder / "hidden.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(files.fileExists(path("plain.wav")));
    EXPECT_FALSE(files.fileExists(path("hidden.wav")));
    EXPECT_FALSE(files.fileExists(fromWide(folder.wstring())));
    EXPECT_FALSE(files.fileExists(path("none.wav")));
}

TEST_F(Win32FilesTest, AUniqueFileIsNewAndCarriesThePrefix) {
    const Result<std::string> first = files.createUniqueFile(path(""), "~rs");
    const Result<std::string> second = files.createUniqueFile(path(""), "~rs");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(std::filesystem::path(toWide(*first)).filename().wstring().substr(0, 3), L"~rs");
    EXPECT_TRUE(files.fileExists(*first));
}

TEST(SpinnerTest, TheUpperArrowCountsUpWithinTheRangeAndEveryChangeIsReported) {
    const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const HWND bar =
        CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 17, 41, owner, nullptr, nullptr, nullptr);
    Win32Spinner spinner(bar, 1, 12);
    int changes = 0;
    spinner.setChangeHandler([&changes] { ++changes; });
    const std::tuple<WPARAM, int, int> steps[] = {
        {SB_LINEUP, 2, 1}, {SB_LINEDOWN, 1, 2}, {SB_LINEDOWN, 1, 2}, {SB_TOP, 12, 3}, {SB_LINEUP, 12, 3}};
    for (const auto& [request, value, changesSoFar] : steps) {
        spinner.onScroll(request);
        EXPECT_EQ(spinner.value(), value) << "after request " << request;
        EXPECT_EQ(changes, changesSoFar) << "after request " << request;
    }
    spinner.setValue(40);
    EXPECT_EQ(spinner.value(), 12);
    spinner.setValue(5);
    EXPECT_EQ(changes, 4);
    DestroyWindow(owner);
}

// What the messages sent so far have posted, as the panel's message loop runs it.
void runPostedMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        dispatchMessage(message);
}

TEST(ProgressWindow, ACancelOfferedRunsByItsButtonEscapeOrTheCloseBoxAndNothingBefore) {
    Win32ProgressWindow progress;
    progress.show("Saving the recording as  C:\\take.mp3");
    const HWND window = FindWindowW(L"#32770", L"Murmora");
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_CLOSE, 0, 0);
    runPostedMessages();
    EXPECT_TRUE(IsWindowVisible(window)) << "closed with nothing to cancel";
    int cancels = 0;
    progress.offerCancel([&cancels] { ++cancels; });
    const HWND button = FindWindowExW(window, nullptr, L"BUTTON", L"Cancel");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetFocus(), button);
    SendMessageW(button, BM_CLICK, 0, 0);
    runPostedMessages();
    EXPECT_EQ(cancels, 1) << "by the button";
    PostMessageW(button, WM_KEYDOWN, VK_ESCAPE, 0);
    runPostedMessages();
    EXPECT_EQ(cancels, 2) << "by Escape";
    SendMessageW(window, WM_CLOSE, 0, 0);
    runPostedMessages();
    EXPECT_EQ(cancels, 3) << "by the close box";
    progress.hide();
    EXPECT_FALSE(IsWindow(window));
}

TEST(FileDialogs, TheSetupBecomesTheDialogsFlagsWithTheReadOnlyBoxAlwaysHidden) {
    constexpr DWORD always = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const std::tuple<bool, bool, DWORD> cases[] = {{false, false, always},
                                                   {true, false, always | OFN_OVERWRITEPROMPT},
                                                   {false, true, always | OFN_PATHMUSTEXIST},
                                                   {true, true, always | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST}};
    for (const auto& [ask, folderMustExist, flags] : cases) {
        const FileDialogSetup setup{.title = "Save File As",
                                    .filter = kWavFiles,
                                    .askBeforeOverwrite = ask,
                                    .folderMustExist = folderMustExist};
        EXPECT_EQ(fileDialogFlags(setup), flags) << ask << folderMustExist;
    }
}

TEST(Hotkeys, AKeySequenceBecomesModifierBitsAndAVirtualKeyOrIsRefused) {
    const std::pair<const char*, Win32Keys> cases[] = {{"Ctrl+Alt+R", {MOD_CONTROL | MOD_ALT, 'R'}},
                                                       {"alt+ctrl+s", {MOD_CONTROL | MOD_ALT, 'S'}},
                                                       {"Shift+7", {MOD_SHIFT, '7'}},
                                                       {"Q", {0, 'Q'}}};
    for (const auto& [keys, expected] : cases)
        EXPECT_EQ(win32KeysOf(*parseKeySequence(keys)), expected) << keys;
    Win32Hotkeys hotkeys(nullptr);
    for (const char* keys : {"Ctrl+F1", "Win+R", "Ctrl+Alt+"}) {
        EXPECT_EQ(hotkeys.registerHotkey({1, "stop", "Stop recording and save", keys}),
                  std::make_error_code(std::errc::invalid_argument))
            << keys;
    }
}

} // namespace
} // namespace murmora
