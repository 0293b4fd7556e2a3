#include <gtest/gtest.h>

#include "buttons/image_buttons.h"
#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

// One button on its own, with an action that records when it ran and what it saw.
struct ButtonFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
    FakePictureButton control;
    std::int16_t state = ButtonReleased;
    int actions = 0;
    std::string pictureWhenActionRan;

    ImageButtonBehaviour Make(ImageButtonLayout layout) { return ImageButtonBehaviour(pictures, control, state, layout); }
    std::function<void()> Action() {
        return [this] {
            ++actions;
            pictureWhenActionRan = control.current();
            EXPECT_EQ(state, ButtonReleased);
        };
    }
};

TEST_F(ButtonFixture, PressAndReleaseRunsTheActionOnceWithTheNormalPictureBack) {
    auto play = Make(SeeThroughPlayLayout);
    play.MouseDown(kLeftButton, 400, 400);
    EXPECT_EQ(control.current(), "custom:108");
    EXPECT_EQ(state, ButtonPressed);
    play.MouseUp(kLeftButton, 400, 400, Action());
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(pictureWhenActionRan, "custom:107");
}

TEST_F(ButtonFixture, DragOutAndReleaseDoesNothingButDragBackInRunsTheAction) {
    auto close = Make(SeeThroughCloseLayout);
    close.MouseDown(kLeftButton, 100, 100);
    close.MouseMove(kLeftButton, 500, 100);
    EXPECT_EQ(control.current(), "custom:103") << "the normal picture shows from the moment the pointer left";
    EXPECT_EQ(state, ButtonReleased);
    const auto picturesBefore = control.shown.size();
    close.MouseUp(kLeftButton, 500, 100, Action());
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(control.shown.size(), picturesBefore) << "a release when not pressed changes no picture";

    close.MouseDown(kLeftButton, 100, 100);
    close.MouseMove(kLeftButton, -50, 100);
    close.MouseMove(kLeftButton, 100, 100);
    EXPECT_EQ(control.current(), "custom:104");
    close.MouseUp(kLeftButton, 100, 100, Action());
    EXPECT_EQ(actions, 1);
}

TEST_F(ButtonFixture, TheActiveAreaBoundsAreInclusive) {
    const std::tuple<ImageButtonLayout, float, float, bool> cases[] = {
        {SeeThroughCloseLayout, 5, 5, true},       {SeeThroughCloseLayout, 300, 300, true},
        {SeeThroughCloseLayout, 4.9f, 100, false}, {SeeThroughCloseLayout, 300.5f, 100, false},
        {SeeThroughCloseLayout, 100, 4.9f, false}, {SeeThroughCloseLayout, 100, 300.5f, false},
        {SeeThroughPlayLayout, 800, 780, true},    {SeeThroughPlayLayout, 100, 781, false},
        {SeeThroughPlayLayout, 800.5f, 100, false}};
    for (const auto& [layout, x, y, inside] : cases) {
        auto button = Make(layout);
        button.MouseDown(kLeftButton, 10, 10);
        button.MouseMove(kLeftButton, x, y);
        EXPECT_EQ(state, inside ? ButtonPressed : ButtonReleased) << "x=" << x << " y=" << y;
    }
}

TEST_F(ButtonFixture, RightMiddleOrBothButtonsIgnoreMovesAndRunOnReleaseAnywhere) {
    auto wav = Make(SeeThroughWavLayout);
    const int buttons[] = {kRightButton, kMiddleButton, kLeftButton | kRightButton};
    for (int button : buttons) {
        wav.MouseDown(button, 100, 100);
        EXPECT_EQ(control.current(), "custom:112");
        const auto picturesBefore = control.shown.size();
        wav.MouseMove(button, 5000, 5000);
        EXPECT_EQ(control.shown.size(), picturesBefore);
        EXPECT_EQ(state, ButtonPressed);
        wav.MouseUp(button, 5000, 5000, Action());
    }
    EXPECT_EQ(actions, 3);
}

TEST_F(ButtonFixture, EveryMoveInsideWithTheLeftButtonReloadsThePressedPicture) {
    auto play = Make(SeeThroughPlayLayout);
    for (int i = 0; i < 3; ++i) play.MouseMove(kLeftButton, 100.0f + static_cast<float>(i), 100);
    EXPECT_EQ(state, ButtonPressed) << "even when the press did not start on the button";
    EXPECT_EQ(control.shown, (std::vector<std::string>{"custom:108", "custom:108", "custom:108"}));
    EXPECT_TRUE(files.filesIn("/tmp", "~rs").empty());
}

TEST(PanelButtons, StopRecordingDoesNothingWhileIdleAndFollowsThePointerDuringATake) {
    FakeApp app;
    FakeApp::Start(app);
    const auto picturesBefore = app.SeeThroughCut.shown.size();
    app.SeeThroughCut.down();
    app.SeeThroughCut.move(kLeftButton, 100, 100);
    app.SeeThroughCut.up();
    EXPECT_EQ(app.SeeThroughCut.shown.size(), picturesBefore);
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
    EXPECT_TRUE(app.mci.commands.empty());

    app.m.RecordingState = RecorderBusy;
    app.SeeThroughCut.down();
    EXPECT_EQ(app.SeeThroughCut.current(), "custom:106");
    app.SeeThroughCut.move(kLeftButton, 900, 100);
    EXPECT_EQ(app.SeeThroughCut.current(), "custom:105");
    EXPECT_EQ(app.m.CutButtonState, ButtonReleased);
}

TEST(PanelButtons, CloseAndMinimizeRunTheirActionsOnlyWhenReleasedOnTheButton) {
    FakeApp app;
    FakeApp::Start(app);
    app.SeeThroughMin.click();
    EXPECT_TRUE(app.windows.minimized);
    app.SeeThroughClose.down();
    app.SeeThroughClose.move(kLeftButton, 1000, 1000);
    app.SeeThroughClose.up(kLeftButton, 1000, 1000);
    EXPECT_FALSE(app.windows.ended);
    app.SeeThroughClose.click();
    EXPECT_TRUE(app.windows.ended);
}

} // namespace
} // namespace murmora::fakes
