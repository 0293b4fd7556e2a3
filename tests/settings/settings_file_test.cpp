// The settings file in the user's configuration folder, on the real file system.
#include "platform/posix/settings_file.h"
#include "tests/support/scoped_variable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace murmora::posix {
namespace {
namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[] = "/tmp/murmora-settings-test.XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        work_ = folder;
    }
    void TearDown() override { fs::remove_all(work_); }

    fs::path work_;
    std::ostringstream complaints_;
};

TEST_F(SettingsFileTest, WhatIsSavedIsLoadedByTheNextRunFromAFolderMadeForTheUserAlone) {
    const fs::path folder = work_ / "config" / "murmora";
    const Settings chosen{"nullsink.monitor", SaveFormat::opus, "What the computer plays"};
    ASSERT_EQ(SettingsFile(folder, complaints_).save(chosen), std::error_code());
    EXPECT_EQ(SettingsFile(folder, complaints_).load(), chosen);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "nothing partial is left";
    EXPECT_EQ(complaints_.str(), "");
}

TEST_F(SettingsFileTest, AFileThatIsMissingUnreadableOrSenselessGivesTheDefaultsWithOneLineForTheLastTwo) {
    struct Case {
        const char* name;
        void (*make)(const fs::path& file);
        std::string said; // in the line on stderr; empty: no line
    };
    for (const Case& c :
         {Case{"missing", [](const fs::path&) {}, ""},
          Case{"a folder", [](const fs::path& file) { fs::create_directories(file); }, "Is a directory"},
          Case{"senseless", [](const fs::path& file) { std::ofstream(file) << "input=mic\nformat=wma\n"; },
               "names no format"}}) {
        SettingsFile file(work_ / c.name, complaints_);
        fs::create_directories(work_ / c.name);
        c.make(file.path());
        complaints_.str("");
        EXPECT_EQ(file.load(), Settings()) << c.name;
        const std::string said = complaints_.str();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.said.empty() ? 0 : 1) << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << said;
        EXPECT_EQ(said.find(file.path().string()) != std::string::npos, !c.said.empty()) << said;
    }
}

TEST_F(SettingsFileTest, NotepadsByteOrderMarkAndLineEndsAreRead) {
    SettingsFile file(work_, complaints_);
    std::ofstream(file.path(), std::ios::binary) << "\xEF\xBB\xBF# Murmora's settings\r\ninput=mic\r\nformat=opus\r\n";
    EXPECT_EQ(file.load(), (Settings{"mic", SaveFormat::opus, ""}));
    EXPECT_EQ(complaints_.str(), "");
}

// A pipe no program writes into would hold the open, or the read, for ever: the panel never
// started, and every later start took it for a panel that does not answer.
TEST_F(SettingsFileTest, APipeIsNotWaitedForButGivesTheDefaultsWithOneLine) {
    SettingsFile file(work_, complaints_);
    ASSERT_EQ(::mkfifo(file.path().c_str(), 0600), 0);
    auto loaded = std::async(std::launch::async, [&file] { return file.load(); });
    const bool done = loaded.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
    if (!done) ::close(::open(file.path().c_str(), O_WRONLY | O_NONBLOCK)); // lets the load go on
    EXPECT_TRUE(done) << "the load waits on the pipe";
    EXPECT_EQ(loaded.get(), Settings());
    EXPECT_EQ(complaints_.str(), "murmora: the settings in " + file.path().string() +
                                     " cannot be read (not a plain file); using the defaults\n");
}

TEST_F(SettingsFileTest, SettingsThatCannotBeSavedAreToldAsAnErrorWithTheReason) {
    std::ofstream(work_ / "murmora") << "a file where the folder should be";
    EXPECT_EQ(SettingsFile(work_ / "murmora", complaints_).save({"mic", SaveFormat::flac, ""}),
              std::errc::not_a_directory);
    EXPECT_EQ(SettingsFile(work_ / "kept", complaints_).save({"mic\nformat=mp3", SaveFormat::wav, ""}),
              std::errc::invalid_argument);
}

TEST(SettingsFolder, IsTheConfigurationFolderOfTheEnvironment) {
    const testing::ScopedVariable keptConfig("XDG_CONFIG_HOME"), keptHome("HOME");
    struct Case {
        const char* config;
        const char* home;
        fs::path expected;
    };
    for (const Case& c : {Case{"/cfg", "/home/u", "/cfg/murmora"}, Case{nullptr, "/home/u", "/home/u/.config/murmora"},
                          Case{"relative", "/home/u", "/home/u/.config/murmora"}, Case{nullptr, nullptr, ""}}) {
        c.config ? ::setenv("XDG_CONFIG_HOME", c.config, 1) : ::unsetenv("XDG_CONFIG_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(settingsFolder(), c.expected) << (c.config ? c.config : "(unset)");
    }
}

} // namespace
} // namespace murmora::posix
