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
        app.files.Add(Encoder, "\x7f" "ELF");
    }
    void Convert(std::optional<std::string> path) {
        app.CommonDialog2.Answers(std::move(path));
        app.SeeThroughWav.Click();
    }
    void ExpectNothingStartedOrShown() {
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_TRUE(app.messages.shown.empty());
    }
};

TEST_F(ConvertPanel, ShowsAnOpenDialogAndACancelChangesNothing) {
    app.m.ConvertSourceFile = "/home/user/earlier.wav";
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    Convert(std::nullopt);
    EXPECT_EQ(app.CommonDialog2.setup.DialogTitle, "Convert Wav File");
    EXPECT_EQ(app.CommonDialog2.setup.Filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.CommonDialog2.setup.Flags, 2052);
    EXPECT_EQ(app.CommonDialog2.shownAs, std::vector<std::string>{"open"});
    EXPECT_EQ(app.SeeThroughWav.Current(), "custom:111") << "the button is back to its normal picture";
    ExpectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/earlier.wav");
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
}

TEST_F(ConvertPanel, AMissingOrHiddenFileOrAFolderEndsSilentlyAndDeletesNothing) {
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    app.files.Add("/home/user/typo.wav.mp3");
    app.files.Add("/home/user/.secret.wav");
    Convert("/home/user/.secret.wav");
    Convert("/home/user");
    Convert("/home/user/typo.wav");
    ExpectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/typo.wav") << "the choice is noted";
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
    EXPECT_TRUE(app.files.FileExists("/home/user/typo.wav.mp3"));
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
        app.files.Add(wav);
        Convert(wav);
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
    app.files.Add(Wav);
    app.files.Add(Mp3, "stale");
    Convert(Wav);
    EXPECT_FALSE(app.files.FileExists(Mp3));
    EXPECT_TRUE(app.files.FileExists(Wav)) << "the WAV itself is never touched";

    app.files.Add(Mp3, "in use");
    app.files.undeletable.insert(Mp3);
    Convert(Wav);
    EXPECT_EQ(app.launcher.started.size(), 2u);
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(ConvertPanel, TheEncoderIsLookedForOnlyInTheProgramsFolderAndAMissingOneIsReported) {
    app.files.RemoveFile(Encoder);
    app.files.Add("/usr/bin/LAME.exe");
    app.files.Add("/usr/bin/lame");
    app.files.Add(Wav);
    app.files.Add(Mp3, "stale");
    Convert(Wav);
    EXPECT_TRUE(app.launcher.started.empty());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, EncoderMissing);
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
    EXPECT_FALSE(app.files.FileExists(Mp3)) << "the old MP3 is deleted even so";

    app.files.programFolder = "/";
    app.files.Add("/LAME.exe");
    Convert(Wav);
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].program, "/LAME.exe") << "no doubled separator";
}

} // namespace
} // namespace murmora::fakes
