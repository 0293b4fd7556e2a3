#include <gtest/gtest.h>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

using Arguments = std::vector<std::string>;

const std::string Encoder = "/opt/murmora/LAME.exe";
const char* const EncoderMissing = "File LAME.exe is required for mp3 conversion";

// A started panel whose program folder holds the encoder.
struct ConvertPanel : ::testing::Test {
    FakeApp app;

    void SetUp() override {
        FakeApp::Start(app);
        app.files.Add(Encoder, "\x7f" "ELF");
    }
    // The user presses Convert and answers the dialog with `path` (nothing: cancel).
    void Convert(std::optional<std::string> path) {
        app.CommonDialog2.Answers(std::move(path));
        app.SeeThroughWav.Click();
    }
    void ExpectNothingStartedOrShown() {
        EXPECT_TRUE(app.launcher.started.empty());
        EXPECT_TRUE(app.messages.shown.empty());
    }
};

// --- The dialog and the chosen file ---------------------------------------------------------

using ChoosingTheWav = ConvertPanel;

TEST_F(ChoosingTheWav, ShowsAnOpenDialogForWavFilesInAnExistingFolder) {
    Convert("/home/user/take.wav");
    EXPECT_EQ(app.CommonDialog2.setup.DialogTitle, "Convert Wav File");
    EXPECT_EQ(app.CommonDialog2.setup.Filter, "Wav File (*.Wav)|*.Wav");
    EXPECT_EQ(app.CommonDialog2.setup.Flags, 2052);
    EXPECT_EQ(app.CommonDialog2.shownAs, std::vector<std::string>{"open"});
    EXPECT_TRUE(app.CommonDialog1.shownAs.empty());
    EXPECT_EQ(app.SeeThroughWav.Current(), "custom:111") << "the button is back to its normal picture";
}

TEST_F(ChoosingTheWav, ACancelEndsSilently) {
    app.m.ConvertSourceFile = "/home/user/earlier.wav";
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    Convert(std::nullopt);
    ExpectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/earlier.wav");
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
}

TEST_F(ChoosingTheWav, AMissingFileEndsSilentlyAfterNotingTheChoice) {
    app.m.ConvertTargetFile = "/home/user/earlier.wav.mp3";
    app.files.Add("/home/user/typo.wav.mp3");
    Convert("/home/user/typo.wav");
    ExpectNothingStartedOrShown();
    EXPECT_EQ(app.m.ConvertSourceFile, "/home/user/typo.wav");
    EXPECT_EQ(app.m.ConvertTargetFile, "/home/user/earlier.wav.mp3");
    EXPECT_TRUE(app.files.FileExists("/home/user/typo.wav.mp3")) << "nothing is deleted for a missing WAV";
}

TEST_F(ChoosingTheWav, AHiddenFileOrAFolderCountsAsMissing) {
    app.files.Add("/home/user/.secret.wav");
    Convert("/home/user/.secret.wav");
    Convert("/home/user");
    ExpectNothingStartedOrShown();
}

// --- The MP3 name ---------------------------------------------------------------------------

struct TargetCase {
    std::string wav;
    std::string mp3;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.wav; }

class TargetName : public ConvertPanel, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(TargetName, AppendsMp3ToTheWholeNameKeepingItsCase) {
    app.files.Add(GetParam().wav);
    Convert(GetParam().wav);
    EXPECT_EQ(app.m.ConvertSourceFile, GetParam().wav);
    EXPECT_EQ(app.m.ConvertTargetFile, GetParam().mp3);
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].arguments.back(), GetParam().mp3);
}

INSTANTIATE_TEST_SUITE_P(Names, TargetName,
                         ::testing::Values(TargetCase{"/home/user/take.wav", "/home/user/take.wav.mp3"},
                                           TargetCase{"/home/user/TAKE.WAV", "/home/user/TAKE.WAV.mp3"},
                                           TargetCase{"/home/user/take", "/home/user/take.mp3"}));

// --- An existing MP3 ------------------------------------------------------------------------

using ExistingTarget = ConvertPanel;

TEST_F(ExistingTarget, IsDeletedBeforeTheEncoderStarts) {
    app.files.Add("/home/user/take.wav");
    app.files.Add("/home/user/take.wav.mp3", "stale");
    Convert("/home/user/take.wav");
    EXPECT_FALSE(app.files.FileExists("/home/user/take.wav.mp3"));
    EXPECT_EQ(app.launcher.started.size(), 1u);
    EXPECT_TRUE(app.files.FileExists("/home/user/take.wav")) << "the WAV itself is never touched";
}

TEST_F(ExistingTarget, IsDeletedEvenWhenTheEncoderIsMissing) {
    app.files.RemoveFile(Encoder);
    app.files.Add("/home/user/take.wav");
    app.files.Add("/home/user/take.wav.mp3", "stale");
    Convert("/home/user/take.wav");
    EXPECT_FALSE(app.files.FileExists("/home/user/take.wav.mp3"));
    EXPECT_EQ(app.messages.Prompts(), std::vector<std::string>{EncoderMissing});
}

TEST_F(ExistingTarget, ThatCannotBeDeletedIsLeftForTheEncoderToWriteOver) {
    app.files.Add("/home/user/take.wav");
    app.files.Add("/home/user/take.wav.mp3", "in use");
    app.files.undeletable.insert("/home/user/take.wav.mp3");
    Convert("/home/user/take.wav");
    EXPECT_EQ(app.launcher.started.size(), 1u);
    EXPECT_TRUE(app.messages.shown.empty());
}

// --- Finding and starting the encoder -------------------------------------------------------

using StartingTheEncoder = ConvertPanel;

TEST_F(StartingTheEncoder, StartsItWithTheWavAndTheMp3AsTwoArgumentsInTheWavsFolder) {
    app.files.Add("/home/user/take.wav");
    Convert("/home/user/take.wav");
    ASSERT_EQ(app.launcher.started.size(), 1u);
    const LaunchedProcess& encoder = app.launcher.started[0];
    EXPECT_EQ(encoder.program, Encoder);
    EXPECT_EQ(encoder.arguments, (Arguments{"/home/user/take.wav", "/home/user/take.wav.mp3"}));
    EXPECT_EQ(encoder.workingFolder, "/home/user");
    EXPECT_TRUE(app.messages.shown.empty());
}

TEST_F(StartingTheEncoder, KeepsAPathWithBlanksAsOneArgument) {
    const std::string wav = "/home/user/my takes/take one -o x.wav";
    app.files.Add(wav);
    Convert(wav);
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].arguments, (Arguments{wav, wav + ".mp3"}));
    EXPECT_EQ(app.launcher.started[0].workingFolder, "/home/user/my takes");
}

TEST_F(StartingTheEncoder, AWavAtTheRootRunsInTheRoot) {
    app.files.Add("/take.wav");
    Convert("/take.wav");
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].workingFolder, "/");
}

TEST_F(StartingTheEncoder, AMissingEncoderIsReported) {
    app.files.RemoveFile(Encoder);
    app.files.Add("/home/user/take.wav");
    Convert("/home/user/take.wav");
    EXPECT_TRUE(app.launcher.started.empty());
    ASSERT_EQ(app.messages.shown.size(), 1u);
    EXPECT_EQ(app.messages.shown[0].prompt, EncoderMissing);
    EXPECT_EQ(app.messages.shown[0].style, vbExclamation);
    EXPECT_EQ(app.messages.shown[0].title, "Murmora");
}

TEST_F(StartingTheEncoder, AnEncoderOnlyOnTheSearchPathCountsAsMissing) {
    app.files.RemoveFile(Encoder);
    app.files.Add("/usr/bin/LAME.exe");
    app.files.Add("/usr/bin/lame");
    app.files.Add("/home/user/take.wav");
    Convert("/home/user/take.wav");
    EXPECT_TRUE(app.launcher.started.empty());
    EXPECT_EQ(app.messages.Prompts(), std::vector<std::string>{EncoderMissing});
}

TEST_F(StartingTheEncoder, IsLookedForWithoutADoubledSeparatorWhenTheProgramIsInTheRoot) {
    app.files.programFolder = "/";
    app.files.Add("/LAME.exe");
    app.files.Add("/home/user/take.wav");
    Convert("/home/user/take.wav");
    ASSERT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.launcher.started[0].program, "/LAME.exe");
}

TEST_F(StartingTheEncoder, NeverTouchesTheAudioDevicesAndWorksDuringATake) {
    app.m.RecordingState = RecorderBusy;
    app.files.Add("/home/user/take.wav");
    Convert("/home/user/take.wav");
    EXPECT_TRUE(app.mci.commands.empty());
    EXPECT_EQ(app.launcher.started.size(), 1u);
    EXPECT_EQ(app.m.RecordingState, RecorderBusy);
}

TEST_F(StartingTheEncoder, TwoConversionsStartTwoEncoders) {
    app.files.Add("/home/user/a.wav");
    app.files.Add("/home/user/b.wav");
    Convert("/home/user/a.wav");
    Convert("/home/user/b.wav");
    ASSERT_EQ(app.launcher.started.size(), 2u);
    EXPECT_EQ(app.launcher.started[1].arguments, (Arguments{"/home/user/b.wav", "/home/user/b.wav.mp3"}));
}

} // namespace
} // namespace murmora::fakes
