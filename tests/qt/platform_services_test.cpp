// The Qt platform's services against the real file system, clock, resources and processes.
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_files.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_process_launcher.h"
#include "platform/qt/qt_resources.h"
#include "platform/qt/qt_window_host.h"
#include "platform/regions.h"
#include "shell/resource_pictures.h"

namespace murmora {
namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const QString& name : QDir(QString::fromStdString(folder)).entryList(QDir::Files | QDir::System | QDir::Hidden)) {
        names.insert(name.toStdString());
    }
    return names;
}

class Folder : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return dir + "/" + name; }
    QTemporaryDir temporary;
    const std::string dir = temporary.path().toStdString();
    QtFiles files;
};

TEST_F(Folder, OrdinaryFilesAreVisibleRegularFilesAndRemoveSaysWhetherOneWent) {
    WriteText(Path("take.wav"), "RIFF");
    WriteText(Path(".hidden.wav"), "RIFF");
    ASSERT_EQ(::mkdir(Path("folder.wav").c_str(), 0700), 0);
    EXPECT_TRUE(files.FileExists(Path("take.wav")));
    EXPECT_FALSE(files.FileExists(Path(".hidden.wav")));
    EXPECT_FALSE(files.FileExists(Path("folder.wav")));
    EXPECT_TRUE(files.FolderExists(Path("folder.wav")));
    EXPECT_FALSE(files.FolderExists(Path("take.wav")));
    EXPECT_TRUE(files.RemoveFile(Path("take.wav")));
    EXPECT_FALSE(files.FileExists(Path("take.wav")));
    EXPECT_FALSE(files.RemoveFile(Path("take.wav")));
}

TEST_F(Folder, UniqueFilesAreNewPrivateFilesThatPassExistingFilesAndLinksBy) {
    // Random names cannot be aimed at: hundreds of creations must pass planted look-alikes by.
    WriteText(Path("target"), "keep me");
    WriteText(Path("~rsAAAAAA.tmp"), "old take");
    ASSERT_EQ(::symlink(Path("target").c_str(), Path("~rsBBBBBB.tmp").c_str()), 0);
    std::set<std::string> made;
    for (int i = 0; i < 300; ++i) {
        const auto path = files.CreateUniqueFile(dir, "~rs");
        ASSERT_TRUE(path);
        EXPECT_EQ(path->rfind(dir + "/~rs", 0), 0u) << *path;
        EXPECT_TRUE(made.insert(*path).second) << "handed out twice: " << *path;
        struct stat info{};
        ASSERT_EQ(::lstat(path->c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode) && info.st_size == 0 && (info.st_mode & 0777) == 0600) << *path;
    }
    EXPECT_EQ(ReadAll(Path("target")), "keep me");
    EXPECT_EQ(ReadAll(Path("~rsAAAAAA.tmp")), "old take");
    EXPECT_FALSE(files.CreateUniqueFile(Path("missing"), "~rs"));
}

TEST_F(Folder, BinaryWritesReplaceTheContentButNeverThroughALink) {
    WriteText(Path("f"), "a much longer old content");
    EXPECT_EQ(files.WriteBinary(Path("f"), {'G', 'I', 'F'}), 0);
    EXPECT_EQ(ReadAll(Path("f")), "GIF");
    ASSERT_EQ(::symlink(Path("f").c_str(), Path("link").c_str()), 0);
    EXPECT_EQ(files.WriteBinary(Path("link"), {'x'}), ELOOP);
    EXPECT_EQ(ReadAll(Path("f")), "GIF");
    EXPECT_EQ(files.WriteBinary(Path("missing/f"), {'x'}), ENOENT);
}

class TemporaryFolder : public Folder {
protected:
    void TearDown() override { hadTmpdir ? qputenv("TMPDIR", savedTmpdir) : qunsetenv("TMPDIR"); }
    const bool hadTmpdir = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray savedTmpdir = qgetenv("TMPDIR");
};

TEST_F(TemporaryFolder, FollowsTmpdirAndIsEmptyWhenThatIsNoFolder) {
    ::setenv("TMPDIR", (dir + "/").c_str(), 1);
    EXPECT_EQ(files.TempFolder(), dir);
    ::setenv("TMPDIR", Path("missing").c_str(), 1);
    EXPECT_EQ(files.TempFolder(), "");
    ::unsetenv("TMPDIR");
    EXPECT_EQ(files.TempFolder(), "/tmp");
}

TEST_F(TemporaryFolder, ButtonPictureLoadsLeaveNoFileAndAMissingIdLeavesOneEmptyFile) {
    ::setenv("TMPDIR", dir.c_str(), 1);
    QtResources resources;
    ResourcePictures pictures(resources, files);
    const Picture picture = pictures.LoadCustomPicture(105, "Custom");
    EXPECT_EQ(ImageOf(picture).size(), QSize(50, 48));
    EXPECT_TRUE(NamesIn(dir).empty());

    EXPECT_FALSE(pictures.LoadCustomPicture(113, "Custom"));
    const auto left = NamesIn(dir);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left.begin()->rfind("~rs", 0), 0u);
    EXPECT_EQ(ReadAll(Path(*left.begin())), "");
}

TEST_F(Folder, ResourcesFindBitmapsByNameAndCustomBytesByIdAndTypeWhateverTheCaseAndBrokenPicturesAreAnError) {
    QtResources resources;
    WriteText(Path("broken.gif"), "GIF89a but nothing more");
    EXPECT_THROW(resources.LoadPicture(Path("broken.gif")), PictureError);
    EXPECT_THROW(resources.LoadPicture(Path("missing.gif")), PictureError);
    EXPECT_EQ(ImageOf(resources.LoadResPicture("RecordButtonRecording")).size(), QSize(100, 22));
    EXPECT_EQ(ImageOf(resources.LoadResPicture("mrskin")).size(), QSize(203, 231));
    EXPECT_THROW(resources.LoadResPicture("nosuchbitmap"), PictureError);
    QFile file(QStringLiteral(MURMORA_RESOURCES_DIR "/custom/111.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray expected = file.readAll();
    const auto bytes = resources.LoadResData(111, "CUSTOM");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes->data()), static_cast<qsizetype>(bytes->size())), expected);
    EXPECT_TRUE(resources.LoadResData(101, "custom"));
    EXPECT_FALSE(resources.LoadResData(113, "Custom"));
    EXPECT_FALSE(resources.LoadResData(101, "Bitmaps"));
}

TEST(Clock, NowReadsTheLocalWallClockAndTimeTextTellsTheSameTimeOfDay) {
    QtClock clock;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const DateTime before = clock.Now();
    const std::string text = clock.TimeText();  // "%X" under the C locale
    const DateTime after = clock.Now();
    EXPECT_LE(std::llabs(before - static_cast<DateTime>(timegm(&local))), 1);
    std::smatch parts;
    ASSERT_TRUE(std::regex_match(text, parts, std::regex(R"((\d\d):(\d\d):(\d\d))"))) << text;
    const int shown = std::stoi(parts[1]) * 3600 + std::stoi(parts[2]) * 60 + std::stoi(parts[3]);
    EXPECT_TRUE(shown == SecondsAfterMidnight(before) || shown == SecondsAfterMidnight(after)) << text;
}

TEST(EventPump, RunsWhatIsPendingBeforeReturning) {
    bool ran = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&ran] { ran = true; }, Qt::QueuedConnection);
    QtEventPump().DoEvents(1000);
    EXPECT_TRUE(ran);
}

TEST(Timer, TicksOnlyWhileEnabled) {
    QtTimer timer;
    int ticks = 0;
    timer.SetTickHandler([&ticks] { ++ticks; });
    timer.SetEnabled(true);
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks > 0; }, 5000));
    timer.SetEnabled(false);
    const int stoppedAt = ticks;
    QTest::qWait(1200);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST_F(Folder, LauncherPassesArgumentsWithoutAShellInTheWorkingFolder) {
    QtProcessLauncher launcher;
    const std::string odd = "a b;echo x > c $(d)";
    ASSERT_TRUE(launcher.StartDetached("touch", {odd}, dir));
    EXPECT_TRUE(QTest::qWaitFor([this, &odd] { return files.FileExists(Path(odd)); }, 5000));
    EXPECT_EQ(NamesIn(dir), std::set<std::string>{odd});
}

TEST(WindowOutline, QtRegionHoldsExactlyThePixelsOfTheRegion) {
    const Region outline =
        Region::RoundedRectangle(2, 1, 163, 231, 30, 56).United(Region::Ellipse(38, 52, 204, 214));
    const QRegion mask = ToQRegion(outline);
    int differing = 0;
    for (int y = -2; y < 235; ++y) {
        for (int x = -2; x < 208; ++x) {
            if (mask.contains(QPoint(x, y)) != outline.Contains(x, y)) ++differing;
        }
    }
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(ToQRegion(Region()).isEmpty());
}

} // namespace
} // namespace murmora
