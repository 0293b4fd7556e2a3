// Without a home folder nothing goes to the root folder: the schedule has no default target, a
// leftover take stays where it is, and a scheduled take that cannot go to its target is kept
// until the user chooses where it goes.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

class NoHomeFolder : public RecordingTest {
protected:
    void SetUp() override {
        app.files.home = "";
        RecordingTest::SetUp();
    }
};

TEST_F(NoHomeFolder, TheScheduleHasNoDefaultTargetAndSaysSo) {
    EXPECT_EQ(app.targetPathBox.contents, "");
    app.targetDialog.answer(std::nullopt);
    app.panel.schedule.onChooseTargetClicked();
    EXPECT_EQ(app.messages.texts(), Strings{"There is no home folder to save AutoRec.wav in: choose the file of the "
                                            "scheduled recording with File."});
    EXPECT_EQ(app.targetPathBox.contents, "");
}

TEST_F(NoHomeFolder, AScheduledTakeThatCannotGoToItsTargetIsSavedWhereTheUserChooses) {
    startScheduledTake(1, "/gone/AutoRec.wav");
    app.saveTakeDialog.answer("/tmp/kept.wav");
    app.clock.advance(1);
    app.scheduledStopTimer.tick();
    app.engine.deliver();
    EXPECT_EQ(app.engine.take(),
              (EngineCalls{kStopTake, saveTakeAt("/gone/AutoRec.wav"), saveTakeAt("/tmp/kept.wav")}));
    EXPECT_EQ(app.messages.texts().at(0), "Recording could not be saved as  /gone/AutoRec.wav\n" + kNoFolder +
                                              "\n\nThe recording is kept: choose where to save it.");
    EXPECT_EQ(app.saveTakeDialog.shownAs, Strings{"save"});
    EXPECT_TRUE(app.files.fileExists("/tmp/kept.wav"));
}

TEST(LeftoverTakesWithoutAHomeFolder, StayInTheTakeFolderAndAreNamedThere) {
    FakePanel app;
    app.files.home = "";
    const std::string path = "/cache/takes/take-12-0.wav";
    app.files.add(path);
    app.takes.left.push_back({path, 1796562307});
    app.start();
    EXPECT_TRUE(app.files.fileExists(path));
    EXPECT_EQ(app.messages.texts(),
              Strings{"Murmora ended during a recording.\n\nWhat was recorded until then is kept as  " + path});
}

} // namespace
} // namespace murmora::fakes
