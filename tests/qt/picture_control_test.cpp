// The picture controls of the panel: what they report of the mouse, and what they show.
#include <tuple>
#include <vector>

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_screen_metrics.h"

namespace murmora {
namespace {

struct Reported {
    char event;
    int button;
    int shift;
    float x;
    float y;
};

class PictureControlMouse : public ::testing::Test {
protected:
    void SetUp() override {
        host.resize(300, 300);
        button.SetMouseHandlers({Recorder('d'), Recorder('m'), Recorder('u')});
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    MouseHandler Recorder(char event) {
        return [this, event](int b, int s, float x, float y) { reports.push_back({event, b, s, x, y}); };
    }
    std::vector<Reported> Of(char event) const {
        std::vector<Reported> out;
        for (const auto& r : reports) {
            if (r.event == event) out.push_back(r);
        }
        return out;
    }

    QtScreenMetrics screen;  // the offscreen platform's 96 dpi: 15 twips a pixel
    QWidget host;
    SeeThroughPicture button{&host, {104, 64, 55, 55}, QStringLiteral("Stop Recording"), screen};
    std::vector<Reported> reports;
};

TEST_F(PictureControlMouse, ReportsInTwipsAndKeepsReportingOutsideAfterAPressUntilTheReleaseThere) {
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(&button, QPoint(70, 10));  // right of the button, over its parent
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(-10, 80));
    const auto [downs, moves, ups] = std::tuple(Of('d'), Of('m'), Of('u'));
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_FALSE(moves.empty());
    ASSERT_EQ(ups.size(), 1u);
    const auto at = [](const Reported& r) { return std::tuple(r.button, r.x, r.y); };
    EXPECT_EQ(at(downs[0]), std::tuple(LeftButton, 300.0f, 300.0f));
    EXPECT_EQ(at(moves.back()), std::tuple(LeftButton, 1050.0f, 150.0f));
    EXPECT_EQ(at(ups[0]), std::tuple(LeftButton, -150.0f, 1200.0f));
}

TEST_F(PictureControlMouse, NamesTheRightAndMiddleButtonsAndShift) {
    QTest::mousePress(&button, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::RightButton, Qt::ShiftModifier, QPoint(5, 5));
    QTest::mousePress(&button, Qt::MiddleButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&button, Qt::MiddleButton, {}, QPoint(5, 5));
    const auto downs = Of('d');
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].button, RightButton);
    EXPECT_EQ(downs[0].shift, 1);
    EXPECT_EQ(downs[1].button, MiddleButton);
    EXPECT_EQ(downs[1].shift, 0);
    EXPECT_EQ(Of('u').size(), 2u);
}

TEST(SeeThroughPictureImage, KeyColourBecomesTransparentAndNothingElse) {
    QImage image(3, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(190, 190, 190));
    image.setPixel(1, 0, qRgb(190, 190, 191));
    image.setPixel(2, 0, qRgb(10, 20, 30));
    const QImage shown = WithKeyColourTransparent(image);
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(shown.pixel(1, 0), qRgb(190, 190, 191));
    EXPECT_EQ(shown.pixel(2, 0), qRgb(10, 20, 30));
}

} // namespace
} // namespace murmora
