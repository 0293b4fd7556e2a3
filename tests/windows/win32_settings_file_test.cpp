// The settings file in %APPDATA%\Murmora against the real Windows file calls (under Wine in CI).
#include "platform/win32/win32_settings_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <sstream>

namespace murmora {
using namespace murmora::win32;
namespace {
namespace fs = std::filesystem;

class Win32SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        work_ = fs::temp_directory_path() / ("murmora-settings-" + std::to_string(GetCurrentProcessId()));
        fs::remove_all(work_);
        fs::create_directories(work_);
    }
    void TearDown() override { fs::remove_all(work_); }

    fs::path work_;
    std::ostringstream complaints_;
};

TEST_F(Win32SettingsFileTest, TheFolderIsMurmoraInTheRoamingApplicationData) {
    wchar_t appData[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    EXPECT_TRUE(fs::equivalent(win32SettingsFolder().parent_path(), appData));
    EXPECT_EQ(win32SettingsFolder().filename(), L"Murmora");
}

TEST_F(Win32SettingsFileTest, WhatIsSavedIsLoadedByTheNextRunAndReplacesTheOldFileWhole) {
    const fs::path folder = work_ / L"Roaming" / L"Murmora \u00e9t\u00e9";
    const Settings first{"{0.0.1.00000000}.{a}", SaveFormat::mp3, "Micro \xc3\xa9t\xc3\xa9"};
    const Settings second{"", SaveFormat::flac, ""};
    ASSERT_EQ(Win32SettingsFile(folder, complaints_).save(first), std::error_code());
    EXPECT_EQ(Win32SettingsFile(folder, complaints_).load(), first);
    ASSERT_EQ(Win32SettingsFile(folder, complaints_).save(second), std::error_code());
    EXPECT_EQ(Win32SettingsFile(folder, complaints_).load(), second);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "nothing partial is left";
    EXPECT_EQ(complaints_.str(), "");
}

// What the text says is the same on both systems (settings_file_test.cpp); here, what Windows
// answers for a file that is not there or cannot be read.
TEST_F(Win32SettingsFileTest, AMissingFileOrFolderGivesTheDefaultsSilentlyAndAFolderInItsPlaceOneLine) {
    EXPECT_EQ(Win32SettingsFile(work_, complaints_).load(), Settings());
    EXPECT_EQ(Win32SettingsFile(work_ / L"absent", complaints_).load(), Settings());
    EXPECT_EQ(complaints_.str(), "");
    Win32SettingsFile file(work_, complaints_);
    fs::create_directories(file.path());
    EXPECT_EQ(file.load(), Settings());
    const std::string said = complaints_.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("cannot be read"), std::string::npos) << said;
}

// A pipe that no program writes into would hold the read for ever, and the panel never started.
TEST_F(Win32SettingsFileTest, APipeIsNotWaitedForButGivesTheDefaultsWithOneLine) {
    const fs::path folder = L"\\\\.\\pipe\\murmora-settings-" + std::to_wstring(GetCurrentProcessId());
    Win32SettingsFile file(folder, complaints_);
    const HANDLE pipe = CreateNamedPipeW(file.path().c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096,
                                         4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    auto loaded = std::async(std::launch::async, [&file] { return file.load(); });
    const bool done = loaded.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    CloseHandle(pipe); // lets a waiting read go on
    EXPECT_TRUE(done) << "the load waits on the pipe";
    EXPECT_EQ(loaded.get(), Settings());
    const std::string said = complaints_.str();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("cannot be read (not a plain file)"), std::string::npos) << said;
}

TEST_F(Win32SettingsFileTest, SettingsThatCannotBeSavedAreToldAsAnErrorWithTheReason) {
    std::ofstream(work_ / L"Murmora") << "a file where the folder should be";
    const std::error_code error = Win32SettingsFile(work_ / L"Murmora", complaints_).save({"mic", SaveFormat::mp3, ""});
    EXPECT_NE(error, std::error_code());
    EXPECT_FALSE(error.message().empty());
}

} // namespace
} // namespace murmora
