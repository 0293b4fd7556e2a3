#include <gtest/gtest.h>

#include "buttons/image_button.h"
#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

// One button on its own, with an action that notes when it ran and what the button showed then.
struct ButtonFixture : ::testing::Test {
    FakeFiles files;
    FakeResources resources{files};
    ResourcePictures pictures{resources, files};
    FixedScreen screen;
    FakePictureButton control;
    int actions = 0;
    std::string pictureWhenActionRan;

    std::unique_ptr<ImageButton> make(ImageButtonLayout layout) {
        return std::make_unique<ImageButton>(pictures, screen, control, layout, [this] {
            ++actions;
            pictureWhenActionRan = control.current();
        });
    }
};

TEST_F(ButtonFixture, PressAndReleaseRunsTheActionOnceWithTheReleasedPictureBack) {
    const auto play = make(kPlayButtonLayout);
    control.down(kLeftButton, 27, 27);
    EXPECT_EQ(control.current(), "custom:108");
    control.up(kLeftButton, 27, 27);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(pictureWhenActionRan, "custom:107");
    control.up(kLeftButton, 27, 27);
    EXPECT_EQ(actions, 1) << "a second release finds the button released";
}

TEST_F(ButtonFixture, DragOutAndReleaseDoesNothingButDragBackInRunsTheAction) {
    const auto close = make(kCloseButtonLayout);
    control.down(kLeftButton, 7, 7);
    control.move(kLeftButton, 34, 7);
    EXPECT_EQ(control.current(), "custom:103") << "the released picture shows from the moment the pointer left";
    const auto picturesBefore = control.shown.size();
    control.up(kLeftButton, 34, 7);
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(control.shown.size(), picturesBefore) << "a release when not pressed changes no picture";

    control.down(kLeftButton, 7, 7);
    control.move(kLeftButton, -4, 7);
    control.move(kLeftButton, 7, 7);
    EXPECT_EQ(control.current(), "custom:104");
    control.up(kLeftButton, 7, 7);
    EXPECT_EQ(actions, 1);
}

// The areas are written in twips, bounds included: 5 to 300 on Minimize and Close, 5 to 800
// across and 780 down on the large buttons; at 96 dots per inch 15 twips a pixel, at 120 12.
TEST_F(ButtonFixture, TheActiveAreaBoundsAreInclusiveInTwipsOfTheScreen) {
    const std::tuple<ImageButtonLayout, double, double, double, bool> cases[] = {
        {kCloseButtonLayout, 96, 0.34, 0.34, true}, {kCloseButtonLayout, 96, 20, 20, true},
        {kCloseButtonLayout, 96, 0.32, 7, false},   {kCloseButtonLayout, 96, 20.04, 7, false},
        {kCloseButtonLayout, 96, 7, 0.32, false},   {kCloseButtonLayout, 96, 7, 20.04, false},
        {kCloseButtonLayout, 120, 25, 25, true},    {kCloseButtonLayout, 120, 25.05, 7, false},
        {kPlayButtonLayout, 96, 53.3, 52, true},    {kPlayButtonLayout, 96, 7, 52.1, false},
        {kPlayButtonLayout, 96, 53.4, 7, false},    {kPlayButtonLayout, 120, 66.6, 65, true},
        {kPlayButtonLayout, 120, 66.7, 7, false},   {kPlayButtonLayout, 120, 7, 65.1, false}};
    for (const auto& [layout, dotsPerInch, x, y, inside] : cases) {
        screen.dotsPerInch = dotsPerInch;
        const auto button = make(layout);
        actions = 0;
        control.down(kLeftButton, 7, 7);
        control.move(kLeftButton, x, y);
        control.up(kLeftButton, x, y);
        EXPECT_EQ(actions, inside ? 1 : 0) << "x=" << x << " y=" << y << " at " << dotsPerInch;
    }
}

TEST_F(ButtonFixture, RightMiddleOrBothButtonsIgnoreMovesAndRunOnReleaseAnywhere) {
    const auto convert = make(kConvertButtonLayout);
    for (int button : {kRightButton, kMiddleButton, kLeftButton | kRightButton}) {
        control.down(button, 7, 7);
        EXPECT_EQ(control.current(), "custom:112");
        const auto picturesBefore = control.shown.size();
        control.move(button, 400, 400);
        EXPECT_EQ(control.shown.size(), picturesBefore);
        control.up(button, 400, 400);
    }
    EXPECT_EQ(actions, 3);
}

TEST_F(ButtonFixture, EveryMoveInsideWithTheLeftButtonReloadsThePressedPicture) {
    const auto play = make(kPlayButtonLayout);
    for (int i = 0; i < 3; ++i)
        control.move(kLeftButton, 7 + i, 7);
    EXPECT_EQ(control.shown, (std::vector<std::string>{"custom:108", "custom:108", "custom:108"}));
    EXPECT_TRUE(files.filesIn("/tmp", "~rs").empty());
    control.up(kLeftButton, 7, 7);
    EXPECT_EQ(actions, 1) << "pressed, even when the press did not start on the button";
}

TEST(PanelButtons, MinimizeMinimizesThePanel) {
    FakePanel app;
    app.start();
    app.minimizeButton.click();
    EXPECT_TRUE(app.windows.minimized);
}

} // namespace
} // namespace murmora::fakes
