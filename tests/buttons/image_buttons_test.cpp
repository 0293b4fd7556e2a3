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
    FakePictureButton control;
    int actions = 0;
    std::string pictureWhenActionRan;

    std::unique_ptr<ImageButton> make(ImageButtonLayout layout) {
        return std::make_unique<ImageButton>(pictures, control, layout, [this] {
            ++actions;
            pictureWhenActionRan = control.current();
        });
    }
};

TEST_F(ButtonFixture, PressAndReleaseRunsTheActionOnceWithTheReleasedPictureBack) {
    const auto play = make(kPlayButtonLayout);
    control.down(kLeftButton, 400, 400);
    EXPECT_EQ(control.current(), "custom:108");
    control.up(kLeftButton, 400, 400);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(pictureWhenActionRan, "custom:107");
    control.up(kLeftButton, 400, 400);
    EXPECT_EQ(actions, 1) << "a second release finds the button released";
}

TEST_F(ButtonFixture, DragOutAndReleaseDoesNothingButDragBackInRunsTheAction) {
    const auto close = make(kCloseButtonLayout);
    control.down(kLeftButton, 100, 100);
    control.move(kLeftButton, 500, 100);
    EXPECT_EQ(control.current(), "custom:103") << "the released picture shows from the moment the pointer left";
    const auto picturesBefore = control.shown.size();
    control.up(kLeftButton, 500, 100);
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(control.shown.size(), picturesBefore) << "a release when not pressed changes no picture";

    control.down(kLeftButton, 100, 100);
    control.move(kLeftButton, -50, 100);
    control.move(kLeftButton, 100, 100);
    EXPECT_EQ(control.current(), "custom:104");
    control.up(kLeftButton, 100, 100);
    EXPECT_EQ(actions, 1);
}

TEST_F(ButtonFixture, TheActiveAreaBoundsAreInclusive) {
    const std::tuple<ImageButtonLayout, float, float, bool> cases[] = {
        {kCloseButtonLayout, 5, 5, true},       {kCloseButtonLayout, 300, 300, true},
        {kCloseButtonLayout, 4.9f, 100, false}, {kCloseButtonLayout, 300.5f, 100, false},
        {kCloseButtonLayout, 100, 4.9f, false}, {kCloseButtonLayout, 100, 300.5f, false},
        {kPlayButtonLayout, 800, 780, true},    {kPlayButtonLayout, 100, 781, false},
        {kPlayButtonLayout, 800.5f, 100, false}};
    for (const auto& [layout, x, y, inside] : cases) {
        const auto button = make(layout);
        actions = 0;
        control.down(kLeftButton, 10, 10);
        control.move(kLeftButton, x, y);
        control.up(kLeftButton, x, y);
        EXPECT_EQ(actions, inside ? 1 : 0) << "x=" << x << " y=" << y;
    }
}

TEST_F(ButtonFixture, RightMiddleOrBothButtonsIgnoreMovesAndRunOnReleaseAnywhere) {
    const auto convert = make(kConvertButtonLayout);
    for (int button : {kRightButton, kMiddleButton, kLeftButton | kRightButton}) {
        control.down(button, 100, 100);
        EXPECT_EQ(control.current(), "custom:112");
        const auto picturesBefore = control.shown.size();
        control.move(button, 5000, 5000);
        EXPECT_EQ(control.shown.size(), picturesBefore);
        control.up(button, 5000, 5000);
    }
    EXPECT_EQ(actions, 3);
}

TEST_F(ButtonFixture, EveryMoveInsideWithTheLeftButtonReloadsThePressedPicture) {
    const auto play = make(kPlayButtonLayout);
    for (int i = 0; i < 3; ++i)
        control.move(kLeftButton, 100.0f + static_cast<float>(i), 100);
    EXPECT_EQ(control.shown, (std::vector<std::string>{"custom:108", "custom:108", "custom:108"}));
    EXPECT_TRUE(files.filesIn("/tmp", "~rs").empty());
    control.up(kLeftButton, 100, 100);
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
