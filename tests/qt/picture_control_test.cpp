// The picture controls of the panel: what they report of the mouse and the keyboard, and what
// they show.
#include <functional>
#include <vector>

#include <QAccessible>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_picture.h"

namespace murmora {
using namespace murmora::qt;
namespace {

struct Reported {
    char event;
    int button;
    double x, y;
    bool operator==(const Reported&) const = default;
};

class PictureControlMouse : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(300, 300);
        const auto recorder = [this](char event) -> MouseHandler {
            return [this, event](int b, double x, double y) { reports.push_back({event, b, x, y}); };
        };
        button.setMouseHandlers({recorder('d'), recorder('m'), recorder('u')});
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    QWidget host;
    QtPictureButton button{&host, panel_layout::kStopButton};
    std::vector<Reported> reports;
};

TEST_F(PictureControlMouse, ReportsInPixelsAndKeepsReportingOutsideAfterAPressUntilTheReleaseThere) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(&button, QPoint(70, 10)); // right of the button, over its parent
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(-10, 80));
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front(), (Reported{'d', kLeftButton, 20, 20}));
    EXPECT_EQ(reports[reports.size() - 2], (Reported{'m', kLeftButton, 70, 10}));
    EXPECT_EQ(reports.back(), (Reported{'u', kLeftButton, -10, 80}));
}

TEST_F(PictureControlMouse, NamesTheRightAndMiddleButtons) {
    QTest::mouseClick(&button, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseClick(&button, Qt::MiddleButton, {}, QPoint(5, 5));
    EXPECT_EQ(reports, (std::vector<Reported>{{'d', kRightButton, 5, 5},
                                              {'u', kRightButton, 5, 5},
                                              {'d', kMiddleButton, 5, 5},
                                              {'u', kMiddleButton, 5, 5}}));
}

// The keyboard and a screen reader's Press report what a left click in the middle of the
// button would; a key press given up moves off it.
TEST_F(PictureControlMouse, KeysAndPressReportAClickInTheMiddleAndAPressGivenUpAMoveOff) {
    const Reported down{'d', kLeftButton, 27.5, 27.5}, up{'u', kLeftButton, 27.5, 27.5};
    const Reported off{'m', kLeftButton, -1, -1};
    button.setFocus();
    struct Case {
        const char* what;
        std::function<void()> keys;
        std::vector<Reported> reported;
    };
    const Case cases[] = {
        {"Space", [&] { QTest::keyClick(&button, Qt::Key_Space); }, {down, up}},
        {"Enter", [&] { QTest::keyClick(&button, Qt::Key_Return); }, {down, up}},
        {"Press",
         [&] {
             QAccessible::queryAccessibleInterface(&button)->actionInterface()->doAction(
                 QAccessibleActionInterface::pressAction());
         },
         {down, up}},
        {"Space then Escape",
         [&] {
             QTest::keyPress(&button, Qt::Key_Space);
             QTest::keyClick(&button, Qt::Key_Escape);
             QTest::keyRelease(&button, Qt::Key_Space);
         },
         {down, off}},
        {"Space then the focus goes",
         [&] {
             QTest::keyPress(&button, Qt::Key_Space);
             button.clearFocus();
             QTest::keyRelease(&button, Qt::Key_Space);
             button.setFocus();
         },
         {down, off}},
    };
    for (const Case& c : cases) {
        reports.clear();
        c.keys();
        // Press shows the pressed picture for a tenth of a second before its click.
        EXPECT_TRUE(QTest::qWaitFor([&] { return reports.size() >= c.reported.size(); }, 1000)) << c.what;
        EXPECT_EQ(reports, c.reported) << c.what;
    }
}

TEST(SeeThroughButtonImage, KeyColourBecomesTransparentAndNothingElse) {
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(190, 190, 190));
    image.setPixel(1, 0, qRgb(190, 190, 191));
    image.setPixel(2, 0, qRgb(10, 20, 30));
    const QImage shown = withKeyColourTransparent(image);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(shown.pixel(1, 0), qRgb(190, 190, 191));
    EXPECT_EQ(shown.pixel(2, 0), qRgb(10, 20, 30));
}

} // namespace
} // namespace murmora
