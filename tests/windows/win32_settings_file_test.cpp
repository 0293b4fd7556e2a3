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

TEST_F(Win32SettingsFileTest, AFileThatIsMissingUnreadableOrSenselessGivesTheDefaultsWithOneLineForTheLastTwo) {
    struct Case {
        const char* name;
        void (*make)(const fs::path& file);
        std::string said; // in the line on stderr; empty: no line
    };
    for (const Case& c :
         {Case{"missing", [](const fs::path&) {}, ""},
          Case{"a folder", [](const fs::path& file) { fs::create_directories(file); }, "cannot be read"},
          Case{"garbage", [](const fs::path& file) { std::ofstream(file, std::ios::binary) << "\x01\x02garbage"; },
               "is not text"},
          Case{"empty", [](const fs::path& file) { std::ofstream{file}; }, ""},
          Case{"senseless", [](const fs::path& file) { std::ofstream(file) << "input=mic\nformat=wma\n"; },
               "names no format"}}) {
        const fs::path folder = work_ / c.name;
        fs::create_directories(folder);
        Win32SettingsFile file(folder, complaints_);
        c.make(file.path());
        complaints_.str("");
        EXPECT_EQ(file.load(), Settings()) << c.name;
        const std::string said = complaints_.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said.empty() ? 0 : 1) << c.name << ": " << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
    }
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
