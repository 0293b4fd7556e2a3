#include <gtest/gtest.h>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

using Arguments = std::vector<std::string>;

const std::string Encoder = "/opt/murmora/LAME.exe";
const std::string Wav = "/home/user/take.wav";
const std::string Mp3 = "/home/user/take.wav.mp3";
const char* const EncoderMissing = "File LAME.exe is required for mp3 conversion";

struct ConvertPanel : ::testing::Test {
    FakeApp app;

    void SetUp() override {
        FakeApp::Start(app);
        app.files.add(Encoder, "\x7f" "ELF");
    }
    void convert(std::optional<std::string> path) {
        app.CommonDialog2.answer(std::move(path));
        app.SeeThroughWav.click();
    }
    void expectNothingStartedOrShown() {
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_TRUE(app.messages.shown.empty());
    }
};

TEST_F(ConvertPanel, ShowsAnOpenDialogAndACancelChangesNothing) {
    app.m.ConvertSourceFile = "/home/user/earlier.wav";
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    convert(std::nullopt);
    EXPECT_EQ(app.CommonDialog2.setup.title, "Convert Wav File");
    EXPECT_EQ(app.CommonDialog2.setup.filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.CommonDialog2.setup.flags, 2052);
    EXPECT_EQ(app.CommonDialog2.shownAs, std::vector<std::string>{"open"});
    EXPECT_EQ(app.SeeThroughWav.current(), "custom:111") << "the button is back to its normal picture";
    expectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/earlier.wav");
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
}

TEST_F(ConvertPanel, AMissingOrHiddenFileOrAFolderEndsSilentlyAndDeletesNothing) {
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    app.files.add("/home/user/typo.wav.mp3");
    app.files.add("/home/user/.secret.wav");
    convert("/home/user/.secret.wav");
    convert("/home/user");
    convert("/home/user/typo.wav");
    expectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/typo.wav") << "the choice is noted";
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
    EXPECT_TRUE(app.files.fileExists("/home/user/typo.wav.mp3"));
}

TEST_F(ConvertPanel, StartsTheEncoderWithTheWavAndTheMp3AsTwoArgumentsInTheWavsFolder) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Wav, Mp3, "/home/user"},
        {"/home/user/TAKE.WAV", "/home/user/TAKE.WAV.mp3", "/home/user"},
        {"/home/user/take", "/home/user/take.mp3", "/home/user"},
        {"/home/user/my takes/take one -o x.wav", "/home/user/my takes/take one -o x.wav.mp3", "/home/user/my takes"},
        {"/take.wav", "/take.wav.mp3", "/"}};
    app.m.RecordingState = RecorderBusy;  // converting works during a take and leaves the devices alone
    for (const auto& [wav, mp3, folder] : cases) {
        app.files.add(wav);
        convert(wav);
        ASSERT_FALSE(app.launcher.started.empty());
        const LaunchedProcess& encoder = app.launcher.started.back();
        EXPECT_EQ(encoder.program, Encoder);
        EXPECT_EQ(encoder.arguments, (Arguments{wav, mp3}));
        EXPECT_EQ(encoder.workingFolder, folder);
        EXPECT_EQ(app.m.ConvertSourceFile, wav);
        EXPECT_EQ(app.m.ConvertTargetFile, mp3);
    }
    EXPECT_EQ(app.launcher.started.size(), std::size(cases)) << "one encoder per conversion";
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
}

TEST_F(ConvertPanel, AnExistingMp3IsDeletedFirstOrLeftForTheEncoderToWriteOver) {
    app.files.add(Wav);
    app.files.add(Mp3, "stale");
    convert(Wav);
    EXPECT_FALSE(app.files.fileExists(Mp3));
    EXPECT_TRUE(app.files.fileExists(Wav)) << "the WAV itself is never touched";

    app.files.add(Mp3, "in use");
    app.files.undeletable.insert(Mp3);
    convert(Wav);
    EXPECT_EQ(app.launcher.started.size(), 2u);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ConvertPanel, TheEncoderIsLookedForOnlyInTheProgramsFolderAndAMissingOneIsReported) {
    app.files.removeFile(Encoder);
    app.files.add("/usr/bin/LAME.exe");
    app.files.add("/usr/bin/lame");
    app.files.add(Wav);
    app.files.add(Mp3, "stale");
    convert(Wav);
    EXPECT_TRUE(app.launcher.started.empty());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].text, EncoderMissing);
    EXPECT_EQ(app.messages.shown[0].style, MessageStyle::exclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_FALSE(app.files.fileExists(Mp3)) << "the old MP3 is deleted even so";

    app.files.program = "/";
    app.files.add("/LAME.exe");
    convert(Wav);
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].program, "/LAME.exe") << "no doubled separator";
}

TEST_F(ConvertPanel, AnEncoderThatCannotStartIsReportedWithTheReason) {
    app.files.add(Wav);
    app.launcher.failure = std::make_error_code(std::errc::permission_denied);
    convert(Wav);
    EXPECT_EQ(app.messages.texts(), std::vector<std::string>{"File LAME.exe could not be started (Permission denied)"});
    EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
}

} // namespace
} // namespace murmora::fakes
