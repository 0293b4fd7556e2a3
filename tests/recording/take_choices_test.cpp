// The panel's menu of the input and the format: what it offers, what a choice does to the next
// take and to the settings kept, and what the tooltip says.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const SoundInput kMicrophone{"mic", "TestMic", true, false};
const SoundInput kHeadset{"alsa_input.usb-headset", "USB Headset", false, false};
const SoundInput kSpeakers{"speakers.monitor", "Speakers", false, true};
const SoundInput kHdmi{"hdmi.monitor", "HDMI", false, true};
const Strings kAllFormats{"WAV", "FLAC", "Opus", "MP3"};

class TakeChoicesTest : public RecordingTest {
protected:
    void SetUp() override {
        app.engine.inputs = {kMicrophone, kHeadset, kSpeakers};
        RecordingTest::SetUp();
    }
    // The panel starts afresh with `kept` in the settings store.
    void restartWith(const Settings& kept) {
        app.settings.kept = kept;
        app.panel.choices.load();
        app.panel.choices.lookAtInputs();
        app.engine.take();
    }
    // The tooltip's lines of the choices, without the hotkeys' line after them.
    std::string choicesInToolTip() const {
        const std::string& tip = app.choiceMenu.toolTip;
        return tip.substr(0, tip.find("\nHotkeys: "));
    }
    MenuPart inputPart() const { return app.choiceMenu.part("Input"); }
    MenuPart formatPart() const { return app.choiceMenu.part("Save as"); }
};

TEST_F(TakeChoicesTest, TheMenuListsTheInputsByDescriptionTheDefaultMarkedThenWhatTheComputerPlaysAndTheFormats) {
    app.choiceMenu.open();
    EXPECT_EQ(app.engine.take(), (EngineCalls{{EngineCall::listInputs, {}}}));
    ASSERT_EQ(app.choiceMenu.shown.back().size(), 2u);
    EXPECT_EQ(inputPart(), (MenuPart{"Input", {"TestMic (default)", "USB Headset", "What the computer plays"}, 0}));
    EXPECT_EQ(formatPart(), (MenuPart{"Save as", kAllFormats, 0}));

    app.engine.inputs = {kMicrophone, kSpeakers, kHdmi}; // the headset unplugged, a second output
    app.choiceMenu.open();
    EXPECT_EQ(inputPart().entries,
              (Strings{"TestMic (default)", "What the computer plays (Speakers)", "What the computer plays (HDMI)"}));
}

TEST_F(TakeChoicesTest, AChoiceIsKeptNamedInTheTooltipAndRecordedFromTheNextTake) {
    EXPECT_EQ(choicesInToolTip(), "Input: TestMic (default)\nSave as: WAV");
    startManualTake();
    app.choiceMenu.choose("Input", "USB Headset");
    app.choiceMenu.choose("Save as", "FLAC");
    EXPECT_EQ(app.settings.kept, (Settings{kHeadset.name, SaveFormat::flac, "USB Headset"}));
    EXPECT_EQ(choicesInToolTip(), "Input: USB Headset\nSave as: FLAC");
    stopAndSave("/home/user/running.wav");
    EXPECT_EQ(app.saveTakeDialog.setup.filter, kWavFiles) << "the running take keeps its choices";

    app.engine.take();
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{startTakeFrom(kHeadset.name)});
    stopAndSave("/home/user/next");
    EXPECT_EQ(app.saveTakeDialog.setup.filter, (FileFilter{"FLAC File (*.flac)", {"*.flac"}}));
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/home/user/next", SaveFormat::flac)}));

    app.choiceMenu.open();
    EXPECT_EQ(inputPart().checked, 1u);
    EXPECT_EQ(formatPart().checked, 1u);
}

TEST_F(TakeChoicesTest, TheSoundAnOutputPlaysIsChosenByItsMonitor) {
    app.choiceMenu.choose("Input", "What the computer plays");
    EXPECT_EQ(choicesInToolTip(), "Input: What the computer plays\nSave as: WAV");
    app.engine.take();
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{startTakeFrom(kSpeakers.name)});
}

TEST_F(TakeChoicesTest, ChoicesKeptFromTheLastRunHoldFromStartUp) {
    restartWith({kHeadset.name, SaveFormat::opus, "USB Headset"});
    EXPECT_EQ(choicesInToolTip(), "Input: USB Headset\nSave as: Opus");
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{startTakeFrom(kHeadset.name)});
    stopAndSave("/home/user/take.opus");
    EXPECT_EQ(app.saveTakeDialog.setup.filter, (FileFilter{"Opus File (*.opus;*.ogg)", {"*.opus", "*.ogg"}}));
}

TEST_F(TakeChoicesTest, AChosenInputThatIsNotThereStaysChosenAndATakeRecordsTheDefaultAndSaysSoOnce) {
    restartWith({"alsa_input.webcam", SaveFormat::wav, "Webcam"});
    EXPECT_EQ(choicesInToolTip(), "Input: Webcam\nSave as: WAV");
    app.choiceMenu.open();
    EXPECT_EQ(
        inputPart(),
        (MenuPart{"Input", {"TestMic (default)", "USB Headset", "What the computer plays", "Webcam (not there)"}, 3}));
    app.engine.take();
    app.engine.defaultInstead = true;
    app.messages.whileOpen = [&](const ShownMessage&) {
        EXPECT_EQ(app.panel.recorder.state(), RecorderState::recording) << "the take records meanwhile";
        EXPECT_TRUE(app.elapsedTimer.enabled);
    };
    app.hotkeys.press(0);
    EXPECT_EQ(app.engine.take(), EngineCalls{startTakeFrom("alsa_input.webcam")});
    ASSERT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0, "The input Webcam is not there; recording from the default input", MessageStyle::exclamation);
    app.clock.advance(2);
    app.elapsedTimer.tick();
    app.levelTimer.tick();
    EXPECT_EQ(app.messages.shown.size(), 1u) << "told once";
    EXPECT_EQ(app.settings.kept.inputName, "alsa_input.webcam") << "the choice stays for when it is back";
}

TEST_F(TakeChoicesTest, AScheduledTakeRecordsTheChosenInputAndSavesInTheChosenFormat) {
    app.choiceMenu.choose("Input", "USB Headset");
    app.choiceMenu.choose("Save as", "MP3");
    app.engine.take();
    app.armSchedule(secondsAfterMidnight(app.clock.time), 1, "/home/user/night");
    app.scheduleStartTimer.tick();
    EXPECT_EQ(app.engine.take(), EngineCalls{startTakeFrom(kHeadset.name)});
    app.clock.advance(1);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/home/user/night", SaveFormat::mp3)}));
}

TEST_F(TakeChoicesTest, AnEngineThatRecordsTheDefaultInputToWavOnlyOffersJustThat) {
    app.engine.inputs.clear();
    app.engine.formats = {SaveFormat::wav};
    restartWith({"", SaveFormat::flac, ""});
    EXPECT_EQ(choicesInToolTip(), "Input: the default input\nSave as: WAV");
    app.choiceMenu.open();
    EXPECT_EQ(inputPart(), (MenuPart{"Input", {"Default input"}, 0}));
    EXPECT_EQ(formatPart(), (MenuPart{"Save as", {"WAV"}, 0}));
    startManualTake();
    stopAndSave("/home/user/take.mp3");
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/home/user/take.mp3", SaveFormat::wav)}));
}

TEST_F(TakeChoicesTest, AnEngineThatDoesNotAnswerKeepsTheInputsItListedBefore) {
    app.engine.listFailure = {SoundFailure::notAnswering, "The sound server does not answer"};
    app.choiceMenu.open();
    EXPECT_EQ(inputPart().entries, (Strings{"TestMic (default)", "USB Headset", "What the computer plays"}));
}

TEST_F(TakeChoicesTest, SettingsThatCannotBeKeptAreToldOnceAndTheChoiceHoldsForTheRun) {
    app.settings.saveFailure = std::make_error_code(std::errc::read_only_file_system);
    app.choiceMenu.choose("Save as", "FLAC");
    app.choiceMenu.choose("Save as", "Opus");
    ASSERT_EQ(app.messages.shown.size(), 1u);
    expectMessage(0,
                  "Murmora could not keep this choice for its next start (Read-only file system). It holds until "
                  "Murmora closes.",
                  MessageStyle::exclamation);
    EXPECT_EQ(choicesInToolTip(), "Input: TestMic (default)\nSave as: Opus");
    startManualTake();
    stopAndSave("/home/user/take");
    EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt("/home/user/take", SaveFormat::opus)}));
}

TEST_F(TakeChoicesTest, ClosingTheMenuWithoutAChoiceChangesNothing) {
    app.choiceMenu.open();
    EXPECT_EQ(app.settings.saves, 0);
    app.choiceMenu.choose("Save as", "WAV"); // the choice it had
    EXPECT_EQ(app.settings.saves, 0);
}

// A name's ending decides its save's format, in any case; other names keep the chosen one.
TEST_F(TakeChoicesTest, ATypedNameEndingInAFormatsExtensionDecidesTheFormatOfThatSave) {
    app.choiceMenu.choose("Save as", "FLAC");
    const std::pair<std::string, SaveFormat> cases[] = {
        {"/home/user/a.wav", SaveFormat::wav},  {"/home/user/a.WAV", SaveFormat::wav},
        {"/home/user/a.Mp3", SaveFormat::mp3},  {"/home/user/a.opus", SaveFormat::opus},
        {"/home/user/a.OGG", SaveFormat::opus}, {"/home/user/a.flac", SaveFormat::flac},
        {"/home/user/a", SaveFormat::flac},     {"/home/user/a.mp3.txt", SaveFormat::flac},
        {"/home/user/wav", SaveFormat::flac},   {"/home/user/a.aac", SaveFormat::flac}};
    for (const auto& [path, format] : cases) {
        startManualTake();
        stopAndSave(path);
        EXPECT_EQ(app.engine.take(), (EngineCalls{kStopTake, saveTakeAt(path, format)})) << path;
    }
}

} // namespace
} // namespace murmora::fakes
