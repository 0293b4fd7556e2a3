// The level bar and the note on the real record panel, read back from its pixels.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/qt/qt_level_display.h"
#include "platform/qt/qt_panel_layout.h"
#include "tests/qt/qt_panel_fixture.h"

namespace murmora {
using namespace murmora::qt;
namespace {

constexpr QRect kBarArea = toQRect(panel_layout::kLevelBar);
constexpr QRect kClipArea = toQRect(panel_layout::kClipMark);
constexpr QRect kNoteArea = toQRect(panel_layout::kNote);
const std::string kSilenceWarning = "The sound input is silent: check that the microphone is on and not muted.";

class LevelDisplayOnPanel : public testing::QtPanelTest {
protected:
    QImage shot() { return panel.window.grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QImage area(const QRect& rect) { return shot().copy(rect); }
    QRgb ink() const { return panel.window.palette().color(QPalette::WindowText).rgb(); }
    // Pixels of ink from the bar's left end along its middle row, up to the first that is not.
    int drawnLength() {
        const QImage image = shot();
        const int row = kBarArea.center().y();
        int length = 0;
        while (length < panel_layout::kWindow.width && image.pixel(kBarArea.left() + length, row) == ink())
            ++length;
        return length;
    }

    QtLevelDisplay& display = panel.window.levelDisplay;
};

// The lengths themselves are the level arithmetic's; this is the bar drawing them.
TEST_F(LevelDisplayOnPanel, TheBarIsDrawnAsLongAsTheLevelOnTheScale) {
    const struct {
        double dbfs;
        int pixels;
    } cases[] = {{-72, 0}, {-30, 25}, {-1.2, 49}, {2, 50}};
    for (const auto& c : cases) {
        display.setLevel(c.dbfs);
        EXPECT_EQ(drawnLength(), c.pixels) << c.dbfs << " dBFS";
    }
}

// The outline, the buttons and the labels' text stay as they are, with the bar and after it.
TEST_F(LevelDisplayOnPanel, TheBarChangesNoPixelOutsideItsAreaAndLeavesNoneBehind) {
    panel.window.secondsLabel->setCaption("12 sec");
    panel.window.scheduleCaptionLabel->setCaption("Record:");
    const QImage before = shot();
    const QRegion outline = panel.window.mask();
    display.setLevel(0);
    QImage withBar = shot();
    ASSERT_NE(withBar, before);
    QPainter(&withBar).drawImage(kBarArea.topLeft(), before.copy(kBarArea));
    EXPECT_EQ(withBar, before);
    EXPECT_EQ(panel.window.mask(), outline);
    display.clear();
    EXPECT_EQ(shot(), before);
}

TEST_F(LevelDisplayOnPanel, TheBarAndTheNoteLieOnTheDisplaysGreen) {
    const QImage skin = panel.window.background();
    for (const QRect& rect : {kBarArea, kClipArea, kNoteArea}) {
        int elsewhere = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QColor under = skin.pixelColor(x, y);
                elsewhere += !(under.green() > 150 && under.green() > under.red() && under.green() > under.blue());
            }
        EXPECT_EQ(elsewhere, 0) << rect.x() << ", " << rect.y();
    }
}

TEST_F(LevelDisplayOnPanel, TheBarAndItsClipMarkAreClearOfEveryControl) {
    const QStringList display{"levelBar", "clipMark", "displayNote"};
    for (const QWidget* control : panel.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (control->isWindow() || display.contains(control->objectName())) continue;
        for (const QRect& area : {kBarArea, kClipArea})
            EXPECT_FALSE(control->geometry().intersects(area))
                << control->objectName().toStdString() << " over " << area.x() << ", " << area.y();
    }
}

TEST_F(LevelDisplayOnPanel, TheClipMarkShowsInRedAtTheBarsRightEndWhateverTheLevelUntilCleared) {
    const QImage before = shot();
    display.setLevel(-6);
    display.showClipMark();
    for (const double dbfs : {-6.0, 0.0, -HUGE_VAL}) {
        display.setLevel(dbfs);
        const QImage mark = area(kClipArea);
        for (int y = 0; y < mark.height(); ++y)
            for (int x = 0; x < mark.width(); ++x)
                ASSERT_EQ(mark.pixel(x, y), toQColor(panel_layout::kClipMarkRgb).rgb())
                    << dbfs << " dBFS at " << x << ", " << y;
    }
    EXPECT_EQ(kClipArea.left(), kBarArea.right() + 2) << "apart from a full bar";
    EXPECT_EQ(kClipArea.top(), kBarArea.top());
    EXPECT_GT(kClipArea.bottom(), kBarArea.bottom());
    display.clear();
    EXPECT_EQ(shot(), before);
}

TEST_F(LevelDisplayOnPanel, PressesOnTheBarAndTheNoteReachWhatLiesBeneath) {
    display.setLevel(0);
    display.showClipMark();
    display.showNote(kSilenceWarning);
    for (const QRect& rect : {kBarArea, kClipArea, kNoteArea}) {
        const QWidget* hit = panel.window.childAt(rect.center());
        EXPECT_TRUE(hit == nullptr || (hit->objectName() != "levelBar" && hit->objectName() != "clipMark" &&
                                       hit->objectName() != "displayNote"));
    }
}

TEST_F(LevelDisplayOnPanel, TheNoteShowsItsTextInTheDisplaysGreenOnItsInkUntilHidden) {
    const QImage before = area(kNoteArea);
    display.showNote(kSilenceWarning);
    const QImage shown = area(kNoteArea);
    int ground = 0, strokes = 0; // the letters are smoothed at their edges
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            ground += shown.pixel(x, y) == ink();
            strokes += qGreen(shown.pixel(x, y)) > 100;
        }
    EXPECT_GT(ground, shown.width() * shown.height() / 2);
    EXPECT_GT(strokes, 150);
    display.hideNote();
    EXPECT_EQ(area(kNoteArea), before);
}

} // namespace
} // namespace murmora
