// The settings file in the user's configuration folder, on the real file system.
#include "platform/posix/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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
    void TearDown() override {
        if (!unmount_.empty()) static_cast<void>(std::system(("umount '" + unmount_.string() + "'").c_str()));
        std::error_code ignored;
        fs::permissions(work_ / "kept", fs::perms::owner_all, ignored);
        fs::remove_all(work_);
    }
    static std::size_t lines(const std::ostringstream& text) {
        const std::string all = text.str();
        return static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n'));
    }

    fs::path work_;
    fs::path unmount_;
    std::ostringstream complaints_;
};

TEST_F(SettingsFileTest, WhatIsSavedIsLoadedByTheNextRunFromAFolderMadeForTheUserAlone) {
    const fs::path folder = work_ / "config" / "murmora";
    const Settings chosen{"nullsink.monitor", SaveFormat::opus};
    ASSERT_EQ(SettingsFile(folder, complaints_).save(chosen), std::error_code());
    EXPECT_EQ(SettingsFile(folder, complaints_).load(), chosen);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "nothing partial is left";
    EXPECT_EQ(complaints_.str(), "");
}

TEST_F(SettingsFileTest, NoFileYetGivesTheDefaultsWithoutAWord) {
    EXPECT_EQ(SettingsFile(work_ / "murmora", complaints_).load(), Settings());
    EXPECT_EQ(complaints_.str(), "");
}

TEST_F(SettingsFileTest, AFileThatMakesNoSenseGivesTheDefaultsAndOneLineNamingIt) {
    SettingsFile file(work_, complaints_);
    std::ofstream(file.path()) << "input=mic\nformat=wma\n";
    EXPECT_EQ(file.load(), Settings());
    EXPECT_EQ(lines(complaints_), 1u);
    EXPECT_NE(complaints_.str().find(file.path().string()), std::string::npos) << complaints_.str();
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadGivesTheDefaultsAndOneLineWithTheReason) {
    SettingsFile file(work_, complaints_);
    fs::create_directory(file.path()); // a folder where the file should be
    EXPECT_EQ(file.load(), Settings());
    EXPECT_EQ(lines(complaints_), 1u);
    EXPECT_NE(complaints_.str().find("Is a directory"), std::string::npos) << complaints_.str();
}

TEST_F(SettingsFileTest, AFolderThatCannotBeWrittenIsToldWithTheSystemsReason) {
    std::ofstream(work_ / "murmora") << "a file where the folder should be";
    EXPECT_EQ(SettingsFile(work_ / "murmora", complaints_).save({"mic", SaveFormat::flac}), std::errc::not_a_directory);
}

TEST_F(SettingsFileTest, SettingsThatCannotBeSavedLeaveTheSettingsKeptAsTheyWere) {
    const fs::path folder = work_ / "kept";
    SettingsFile file(folder, complaints_);
    ASSERT_EQ(file.save({"mic", SaveFormat::flac}), std::error_code());
    EXPECT_EQ(file.save({"mic\nformat=mp3", SaveFormat::wav}), std::errc::invalid_argument);
    // A folder closed to writing: the superuser writes into any folder, but not a read-only one.
    std::errc refusal = std::errc::permission_denied;
    if (::geteuid() == 0) {
        const std::string quoted = "'" + folder.string() + "'";
        if (std::system(("mount --bind " + quoted + " " + quoted + " 2>/dev/null").c_str()) == 0) unmount_ = folder;
        if (unmount_.empty() || std::system(("mount -o remount,bind,ro " + quoted + " 2>/dev/null").c_str()) != 0)
            GTEST_SKIP() << "a read-only mount cannot be made here";
        refusal = std::errc::read_only_file_system;
    } else {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    EXPECT_EQ(file.save({"other", SaveFormat::wav}), refusal);
    EXPECT_EQ(file.load(), (Settings{"mic", SaveFormat::flac}));
}

TEST(SettingsFolder, IsTheConfigurationFolderOfTheEnvironment) {
    struct Case {
        const char* config;
        const char* home;
        fs::path expected;
    };
    const char* savedConfig = std::getenv("XDG_CONFIG_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string keptConfig = savedConfig ? savedConfig : "";
    const std::string keptHome = savedHome ? savedHome : "";
    for (const Case& c : {Case{"/cfg", "/home/u", "/cfg/murmora"}, Case{nullptr, "/home/u", "/home/u/.config/murmora"},
                          Case{"relative", "/home/u", "/home/u/.config/murmora"}, Case{"", "/home/u", "/home/u/.config/murmora"},
                          Case{nullptr, nullptr, ""}}) {
        c.config ? ::setenv("XDG_CONFIG_HOME", c.config, 1) : ::unsetenv("XDG_CONFIG_HOME");
        c.home ? ::setenv("HOME", c.home, 1) : ::unsetenv("HOME");
        EXPECT_EQ(settingsFolder(), c.expected) << (c.config ? c.config : "(unset)");
    }
    savedConfig ? ::setenv("XDG_CONFIG_HOME", keptConfig.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    savedHome ? ::setenv("HOME", keptHome.c_str(), 1) : ::unsetenv("HOME");
}

} // namespace
} // namespace murmora::posix
