// The Qt platform's services against the real file system, clock, resources and processes.
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <pwd.h>
#include <regex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/posix/local_clock.h"
#include "platform/qt/qt_files.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_process_launcher.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_ui_thread.h"
#include "platform/qt/qt_window_host.h"
#include "core/regions.h"
#include "tests/support/scoped_variable.h"

namespace murmora {
using namespace murmora::qt;
namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const QString& name :
         QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        names.insert(name.toStdString());
    }
    return names;
}

class Folder : public ::testing::Test {
protected:
    std::string scratchPath(const std::string& name) const { return dir + "/" + name; }
    QTemporaryDir temporary;
    const std::string dir = temporary.path().toStdString();
    QtFiles files;
};

TEST_F(Folder, OrdinaryFilesAreVisibleRegularFilesAndRemoveSaysWhetherOneWent) {
    writeText(scratchPath("take.wav"), "RIFF");
    writeText(scratchPath(".hidden.wav"), "RIFF");
    ASSERT_EQ(::mkdir(scratchPath("folder.wav").c_str(), 0700), 0);
    EXPECT_TRUE(files.fileExists(scratchPath("take.wav")));
    EXPECT_FALSE(files.fileExists(scratchPath(".hidden.wav")));
    EXPECT_FALSE(files.fileExists(scratchPath("folder.wav")));
    EXPECT_TRUE(files.folderExists(scratchPath("folder.wav")));
    EXPECT_FALSE(files.folderExists(scratchPath("take.wav")));
    EXPECT_EQ(files.removeFile(scratchPath("take.wav")), std::error_code());
    EXPECT_FALSE(files.fileExists(scratchPath("take.wav")));
    EXPECT_EQ(files.removeFile(scratchPath("take.wav")), std::errc::no_such_file_or_directory);
}

TEST_F(Folder, UniqueFilesAreNewPrivateFilesThatPassExistingFilesAndLinksBy) {
    // Random names cannot be aimed at: hundreds of creations must pass planted look-alikes by.
    writeText(scratchPath("target"), "keep me");
    writeText(scratchPath("~rsAAAAAA.tmp"), "old take");
    ASSERT_EQ(::symlink(scratchPath("target").c_str(), scratchPath("~rsBBBBBB.tmp").c_str()), 0);
    std::set<std::string> made;
    for (int i = 0; i < 300; ++i) {
        const auto path = files.createUniqueFile(dir, "~rs");
        ASSERT_TRUE(path);
        EXPECT_EQ(path->rfind(dir + "/~rs", 0), 0u) << *path;
        EXPECT_TRUE(made.insert(*path).second) << "handed out twice: " << *path;
        struct stat info {};
        ASSERT_EQ(::lstat(path->c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode) && info.st_size == 0 && (info.st_mode & 0777) == 0600) << *path;
    }
    EXPECT_EQ(readAll(scratchPath("target")), "keep me");
    EXPECT_EQ(readAll(scratchPath("~rsAAAAAA.tmp")), "old take");
    EXPECT_FALSE(files.createUniqueFile(scratchPath("missing"), "~rs"));
}

TEST_F(Folder, BinaryWritesReplaceTheContentButNeverThroughALink) {
    writeText(scratchPath("f"), "a much longer old content");
    EXPECT_EQ(files.writeFile(scratchPath("f"), {'G', 'I', 'F'}), std::error_code());
    EXPECT_EQ(readAll(scratchPath("f")), "GIF");
    ASSERT_EQ(::symlink(scratchPath("f").c_str(), scratchPath("link").c_str()), 0);
    EXPECT_EQ(files.writeFile(scratchPath("link"), {'x'}), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(readAll(scratchPath("f")), "GIF");
    EXPECT_EQ(files.writeFile(scratchPath("missing/f"), {'x'}), std::errc::no_such_file_or_directory);
}

class TemporaryFolder : public Folder {
protected:
    const testing::ScopedVariable tmpdir_{"TMPDIR"};
};

TEST_F(TemporaryFolder, FollowsTmpdirAndIsEmptyWhenThatIsNoFolder) {
    ::setenv("TMPDIR", (dir + "/").c_str(), 1);
    EXPECT_EQ(files.tempFolder(), dir);
    ::setenv("TMPDIR", scratchPath("missing").c_str(), 1);
    EXPECT_EQ(files.tempFolder(), "");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(files.tempFolder(), "/tmp");
}

class HomeFolder : public Folder {
protected:
    const testing::ScopedVariable home_{"HOME"}, cache_{"XDG_CACHE_HOME"};
};

// $HOME, else the password database's home, else the parent of the take folder: never "/".
TEST_F(HomeFolder, IsHomeElseThePasswordDatabasesElseTheTakeFoldersParentButNeverTheRoot) {
    ASSERT_EQ(::mkdir(scratchPath("cache").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(scratchPath("cache/murmora").c_str(), 0700), 0);
    ::setenv("XDG_CACHE_HOME", scratchPath("cache").c_str(), 1);
    const passwd* user = ::getpwuid(::geteuid());
    const std::string listed = user && user->pw_dir ? user->pw_dir : "";
    struct stat info {};
    const bool listedUsable = listed.size() > 1 && ::stat(listed.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    const std::string withoutHome = listedUsable ? listed : scratchPath("cache/murmora");
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {dir + "/", dir},   {std::nullopt, withoutHome},           {"", withoutHome},
        {"/", withoutHome}, {scratchPath("missing"), withoutHome}, {"relative/home", withoutHome},
    };
    for (const auto& [home, expected] : cases) {
        home ? ::setenv("HOME", home->c_str(), 1) : ::unsetenv("HOME");
        EXPECT_EQ(files.homeFolder(), expected) << (home ? *home : "HOME unset");
    }
}

TEST_F(Folder, ResourcesFindBitmapsByNameAndCustomBytesByIdAndTypeWhateverTheCaseAndBrokenPicturesAreAnError) {
    QtResources resources;
    writeText(scratchPath("broken.gif"), "GIF89a but nothing more");
    EXPECT_EQ(resources.pictureFromFile(scratchPath("broken.gif")).error(), ResourceError::unreadable);
    EXPECT_EQ(resources.pictureFromFile(scratchPath("missing.gif")).error(), ResourceError::unreadable);
    EXPECT_EQ(imageOf(*resources.bitmap("RecordButtonRecording")).size(), QSize(100, 22));
    EXPECT_EQ(imageOf(*resources.bitmap("mrskin")).size(), QSize(203, 231));
    EXPECT_EQ(resources.bitmap("nosuchbitmap").error(), ResourceError::missing);
    QFile file(QStringLiteral(MURMORA_RESOURCES_DIR "/custom/111.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray expected = file.readAll();
    const auto bytes = resources.data(111, "CUSTOM");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())),
              expected);
    EXPECT_TRUE(resources.data(101, "custom"));
    EXPECT_FALSE(resources.data(113, "Custom"));
    EXPECT_FALSE(resources.data(101, "Bitmaps"));
}

TEST(Clock, NowReadsTheLocalWallClockAndTimeTextTellsTheSameTimeOfDay) {
    posix::LocalClock clock;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const DateTime before = clock.now();
    const std::string text = clock.timeOfDayText(); // "%X" under the C locale
    const DateTime after = clock.now();
    EXPECT_LE(std::llabs(before - static_cast<DateTime>(timegm(&local))), 1);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(text, parts, std::regex(R"((\d\d):(\d\d):(\d\d))"))) << text;
    const int shown = std::stoi(parts[1]) * 3600 + std::stoi(parts[2]) * 60 + std::stoi(parts[3]);
    EXPECT_TRUE(shown == secondsAfterMidnight(before) || shown == secondsAfterMidnight(after)) << text;
}

TEST(UiThread, RunsWorkPostedFromAnyThreadOnItsOwnThreadLaterAndDropsItOnceGone) {
    std::thread::id ranOn;
    {
        QtUiThread ui;
        std::thread([&] { ui.post([&] { ranOn = std::this_thread::get_id(); }); }).join();
        bool ranWithin = false;
        ui.post([&] { ranWithin = true; });
        EXPECT_FALSE(ranWithin) << "never within post()";
        EXPECT_TRUE(QTest::qWaitFor([&] { return ranWithin; }, 5000));
        EXPECT_EQ(ranOn, std::this_thread::get_id());
        ui.post([] { ADD_FAILURE() << "work posted to a user-interface thread that is gone"; });
    }
    QCoreApplication::processEvents();
}

TEST(Timer, TicksOnlyWhileEnabled) {
    QtTimer timer;
    int ticks = 0;
    timer.setTickHandler([&ticks] { ++ticks; });
    timer.setEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks > 0; }, 5000));
    timer.setEnabled(false);
    const int stoppedAt = ticks;
    QTest::qWait(1200);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Folder, LauncherPassesArgumentsWithoutAShellInTheWorkingFolder) {
    QtProcessLauncher launcher;
    const std::string odd = "a b;echo x > c $(d)";
    ASSERT_EQ(launcher.startDetached("touch", {odd}, dir), std::error_code());
    EXPECT_TRUE(QTest::qWaitFor([this, &odd] { return files.fileExists(scratchPath(odd)); }, 5000));
    EXPECT_EQ(namesIn(dir), std::set<std::string>{odd});
}

TEST(WindowOutline, QtRegionHoldsExactlyThePixelsOfTheRegion) {
    const Region outline = Region::roundedRectangle(2, 1, 163, 231, 30, 56).united(Region::ellipse(38, 52, 204, 214));
    const QRegion mask = toQRegion(outline);
    int differing = 0;
    for (int y = -2; y < 235; ++y) {
        for (int x = -2; x < 208; ++x) {
            if (mask.contains(QPoint(x, y)) != outline.contains(x, y)) ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(toQRegion(Region()).isEmpty());
}

} // namespace
} // namespace murmora
