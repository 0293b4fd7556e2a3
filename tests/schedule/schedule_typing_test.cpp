// The time and duration boxes of the schedule window take typing: a value the spinner holds
// sets it, any other is refused with a message and the box shows the spinner's value again; the
// keyboard's arrows step the spinner.
#include "tests/schedule/schedule_fixture.h"

namespace murmora::fakes {
namespace {

class TypedBoxes : public ScheduleTest {
public:
    struct Box {
        FakeTextBox& box;
        FakeSpinner& spinner;
    };
    Box hour{app.startHourBox, app.startHourSpinner}, minute{app.startMinuteBox, app.startMinuteSpinner},
        second{app.startSecondBox, app.startSecondSpinner}, dayHalf{app.dayHalfBox, app.dayHalfSpinner},
        hours{app.durationHoursBox, app.durationHoursSpinner},
        minutes{app.durationMinutesBox, app.durationMinutesSpinner},
        seconds{app.durationSecondsBox, app.durationSecondsSpinner};
};

TEST_F(TypedBoxes, AValueTheSpinnerHoldsSetsItAndAnyOtherIsRefused) {
    const std::string hourRange = "The hour of the start time must be a whole number from 1 to 12, not ";
    const struct {
        Box TypedBoxes::*box;
        std::string typed;
        int value;         // the spinner's, after
        std::string shown; // the box's, after
        std::string told;  // the message, if refused
    } cases[] = {
        {&TypedBoxes::hour, "7", 7, "7", ""},
        {&TypedBoxes::hour, " 12 ", 12, "12", ""},
        {&TypedBoxes::hour, "007", 7, "7", ""},
        {&TypedBoxes::hour, "13", 1, "1", hourRange + "\"13\"."},
        {&TypedBoxes::hour, "0", 1, "1", hourRange + "\"0\"."},
        {&TypedBoxes::hour, "-1", 1, "1", hourRange + "\"-1\"."},
        {&TypedBoxes::hour, "+5", 1, "1", hourRange + "\"+5\"."},
        {&TypedBoxes::hour, "7.5", 1, "1", hourRange + "\"7.5\"."},
        {&TypedBoxes::hour, "seven", 1, "1", hourRange + "\"seven\"."},
        {&TypedBoxes::hour, "", 1, "1", hourRange + "\"\"."},
        {&TypedBoxes::hour, "99999999999", 1, "1", hourRange + "\"99999999999\"."},
        {&TypedBoxes::minute, "5", 5, "05", ""},
        {&TypedBoxes::minute, "59", 59, "59", ""},
        {&TypedBoxes::minute, "60", 0, "00",
         "The minute of the start time must be a whole number from 0 to 59, not \"60\"."},
        {&TypedBoxes::second, "30", 30, "30", ""},
        {&TypedBoxes::dayHalf, "pm", 2, "PM", ""},
        {&TypedBoxes::dayHalf, " Pm", 2, "PM", ""},
        {&TypedBoxes::dayHalf, "aM", 1, "AM", ""},
        {&TypedBoxes::dayHalf, "P", 1, "AM", "AM/PM must be AM or PM, not \"P\"."},
        {&TypedBoxes::dayHalf, "2", 1, "AM", "AM/PM must be AM or PM, not \"2\"."},
        {&TypedBoxes::hours, "9", 9, "9", ""},
        {&TypedBoxes::hours, "10", 0, "0", "The hours of the duration must be a whole number from 0 to 9, not \"10\"."},
        {&TypedBoxes::minutes, "0", 0, "00", ""},
        {&TypedBoxes::seconds, "45", 45, "45", ""},
        {&TypedBoxes::seconds, "1:00", 0, "00",
         "The seconds of the duration must be a whole number from 0 to 59, not \"1:00\"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("typed \"" + c.typed + "\"");
        chooseStart(1, 0, 0, "AM");
        chooseDuration(0, 0, 0);
        app.messages.shown.clear();
        Box& box = this->*c.box;
        box.box.type(c.typed);
        EXPECT_EQ(box.spinner.value(), c.value);
        EXPECT_EQ(box.box.contents, c.shown);
        EXPECT_EQ(app.messages.texts(), c.told.empty() ? Strings{} : Strings{c.told});
        if (!c.told.empty()) {
            EXPECT_EQ(app.messages.shown.at(0).style, MessageStyle::exclamation);
        }
    }
}

TEST_F(TypedBoxes, TheArrowKeysStepTheSpinnerWithinItsRangeAfterTakingWhatIsTyped) {
    hour.box.onStep(1);
    EXPECT_EQ(hour.box.contents, "2");
    hour.box.onStep(-1);
    hour.box.onStep(-1);
    EXPECT_EQ(hour.box.contents, "1") << "the spinner stops at its end";
    minute.box.contents = "58"; // typed, not yet finished
    minute.box.onStep(1);
    minute.box.onStep(1);
    EXPECT_EQ(minute.box.contents, "59");
    dayHalf.box.contents = "pm";
    dayHalf.box.onStep(-1);
    EXPECT_EQ(dayHalf.box.contents, "AM");
    EXPECT_TRUE(app.messages.shown.empty());
    seconds.box.contents = "x";
    seconds.box.onStep(1);
    EXPECT_EQ(seconds.box.contents, "00") << "a refused value is not stepped";
    EXPECT_EQ(app.messages.shown.size(), 1u);
}

TEST_F(TypedBoxes, ATypedStartAndDurationAreWhatTheScheduleUses) {
    openWindow([this] {
        hour.box.type("1");
        minute.box.type("5");
        second.box.contents = "30"; // still being typed when the window is closed
        dayHalf.box.contents = "pm";
        minutes.box.type("0");
        seconds.box.type("20");
        app.activateCheckBox.checked = true;
        closeByUser();
    });
    EXPECT_TRUE(app.messages.shown.empty());
    EXPECT_EQ(app.scheduleTimeLabel.caption, "1:05:30 PM");
    EXPECT_EQ(app.panel.schedule.takeSeconds(), 20);
    expectTakeStartsAt(13, 5, 30);
}

TEST_F(TypedBoxes, AValueRefusedAsTheWindowClosesKeepsItOpenAndArmsNothing) {
    bool stayedOpen = false;
    openWindow([&] {
        app.activateCheckBox.checked = true;
        minute.box.contents = "75";
        closeByUser();
        stayedOpen = app.windows.scheduleWindowShown;
        app.activateCheckBox.checked = false;
        closeByUser();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(app.messages.texts(),
              Strings{"The minute of the start time must be a whole number from 0 to 59, not \"75\"."});
    EXPECT_EQ(minute.box.contents, "00");
    EXPECT_FALSE(app.scheduleStartTimer.enabled);
}

} // namespace
} // namespace murmora::fakes
