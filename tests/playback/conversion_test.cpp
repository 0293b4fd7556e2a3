#include <gtest/gtest.h>

#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

using Arguments = std::vector<std::string>;

const std::string kEncoder = "/opt/murmora/lib/LAME.exe";
const std::string kWav = "/home/user/take.wav";
const std::string kMp3 = "/home/user/take.wav.mp3";
const char* const kEncoderMissing = "File LAME.exe is required for mp3 conversion";

struct ConvertPanel : ::testing::Test {
    FakePanel app;

    void SetUp() override {
        app.start();
        app.files.add(kEncoder, "\x7f"
                                "ELF");
    }
    void convert(std::optional<std::string> path) {
        app.convertDialog.answer(std::move(path));
        app.convertButton.click();
    }
    void expectNothingStartedOrShown() {
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_TRUE(app.messages.shown.empty());
    }
};

TEST_F(ConvertPanel, ShowsAnOpenDialogAndACancelChangesNothing) {
    convert(std::nullopt);
    EXPECT_EQ(app.convertDialog.setup.title, "Convert Wav File");
    EXPECT_EQ(app.convertDialog.setup.filter, (FileFilter{"Wav File (*.Wav)", {"*.Wav"}}));
    EXPECT_TRUE(app.convertDialog.setup.folderMustExist);
    EXPECT_FALSE(app.convertDialog.setup.askBeforeOverwrite) << "an open dialog";
    EXPECT_EQ(app.convertDialog.shownAs, std::vector<std::string>{"open"});
    EXPECT_EQ(app.convertButton.current(), "custom:111") << "the button is back to its normal picture";
    expectNothingStartedOrShown();
}

TEST_F(ConvertPanel, AMissingFileEndsSilentlyAndDeletesNothing) {
    app.files.add("/home/user/typo.wav.mp3");
    convert("/home/user/typo.wav");
    expectNothingStartedOrShown();
    EXPECT_TRUE(app.files.fileExists("/home/user/typo.wav.mp3"));
}

TEST_F(ConvertPanel, StartsTheEncoderWithTheWavAndTheMp3AsTwoArgumentsInTheWavsFolder) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {kWav, kMp3, "/home/user"},
        {"/home/user/TAKE.WAV", "/home/user/TAKE.WAV.mp3", "/home/user"},
        {"/home/user/take", "/home/user/take.mp3", "/home/user"},
        {"/home/user/my takes/take one -o x.wav", "/home/user/my takes/take one -o x.wav.mp3", "/home/user/my takes"},
        {"/take.wav", "/take.wav.mp3", "/"}};
    app.hotkeys.press(0); // converting works during a take and leaves the devices alone
    app.engine.take();
    for (const auto& [wav, mp3, folder] : cases) {
        app.files.add(wav);
        convert(wav);
        ASSERT_FALSE(app.launcher.started.empty());
        const LaunchedProcess& encoder = app.launcher.started.back();
        EXPECT_EQ(encoder.program, kEncoder);
        EXPECT_EQ(encoder.arguments, (Arguments{wav, mp3}));
        EXPECT_EQ(encoder.workingFolder, folder);
    }
    EXPECT_EQ(app.launcher.started.size(), std::size(cases)) << "one encoder per conversion";
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.engine.take().empty());
    EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording);
}

TEST_F(ConvertPanel, AnExistingMp3IsDeletedFirstOrLeftForTheEncoderToWriteOver) {
    app.files.add(kWav);
    app.files.add(kMp3, "stale");
    convert(kWav);
    EXPECT_FALSE(app.files.fileExists(kMp3));
    EXPECT_TRUE(app.files.fileExists(kWav)) << "the WAV itself is never touched";

    app.files.add(kMp3, "in use");
    app.files.undeletable.insert(kMp3);
    convert(kWav);
    EXPECT_EQ(app.launcher.started.size(), 2u);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ConvertPanel, TheEncoderIsLookedForOnlyInTheLibraryFolderAndAMissingOneIsReported) {
    app.files.removeFile(kEncoder);
    app.files.add("/opt/murmora/LAME.exe"); // beside the program
    app.files.add("/usr/bin/LAME.exe");
    app.files.add("/usr/bin/lame");
    app.files.add(kWav);
    app.files.add(kMp3, "stale");
    convert(kWav);
    EXPECT_TRUE(app.launcher.started.empty());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, kEncoderMissing);
    EXPECT_EQ(app.messages.shown[0].style, MessageStyle::exclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_FALSE(app.files.fileExists(kMp3)) << "the old MP3 is deleted even so";

    app.files.library = "/";
    app.files.add("/LAME.exe");
    convert(kWav);
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].program, "/LAME.exe") << "no doubled separator";
}

TEST_F(ConvertPanel, AnEncoderThatCannotStartIsReportedWithTheReason) {
    app.files.add(kWav);
    app.launcher.failure = std::make_error_code(std::errc::permission_denied);
    convert(kWav);
    EXPECT_EQ(app.messages.texts(), std::vector<std::string>{"File LAME.exe could not be started (Permission denied)"});
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
}

} // namespace
} // namespace murmora::fakes
