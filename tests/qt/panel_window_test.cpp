// The real record panel and schedule window on the offscreen platform.
#include <algorithm>
#include <string>
#include <vector>

#include <QAbstractSlider>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/panel.h"
#include "tests/fakes/fake_platform.h"

namespace murmora {
namespace {

QImage SourcePicture(const char* relativePath) {
    return QImage(QStringLiteral(MURMORA_RESOURCES_DIR "/") + QLatin1String(relativePath))
        .convertToFormat(QImage::Format_ARGB32);
}

QRgb Opaque(QRgb pixel) { return pixel | 0xFF000000u; }

class PanelWindow : public ::testing::Test {
protected:
    void SetUp() override { panel.Start(); }
    void TearDown() override {
        panel.form2Window.hide();
        panel.window.hide();
    }

    QImage Shot() { return panel.window.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

    // True when a control other than `except` lies over the pixel.
    bool Covered(const QPoint& at, const QWidget* except = nullptr) {
        const auto children = panel.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        return std::any_of(children.begin(), children.end(), [&](const QWidget* child) {
            return child != except && child->isVisible() && child->geometry().contains(at);
        });
    }

    fakes::FakeMci mci;
    fakes::FakeTakeFolder takes;
    fakes::FakeHotkeys hotkeys;  // both combinations free: no warning box at start-up
    QtPanel panel{mci, takes, hotkeys};
    const QImage skin = SourcePicture("bitmaps/MRSKIN.bmp");
};

TEST_F(PanelWindow, IsAFramelessWindowOfTheDesignSizeAtItsPlaceNamedMurmoraWithTheOutlineOfThePanel) {
    EXPECT_TRUE(panel.window.isVisible());
    EXPECT_EQ(panel.window.size(), QSize(204, 231));
    EXPECT_EQ(panel.window.pos(), QPoint(410, 268));
    EXPECT_EQ(panel.window.windowTitle(), QStringLiteral("Murmora"));
    EXPECT_TRUE(panel.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QRegion outline = panel.window.mask();
    for (const QPoint in : {QPoint(200, 133), QPoint(80, 200)}) EXPECT_TRUE(outline.contains(in));
    for (const QPoint out : {QPoint(1, 1), QPoint(2, 1), QPoint(200, 10)}) EXPECT_FALSE(outline.contains(out));
}

TEST_F(PanelWindow, PaintsTheSkinWithEveryButtonsReleasedPictureOverIt) {
    const QImage shot = Shot();
    const QRegion outline = panel.window.mask();
    int freeSkin = 0, differing = 0;
    for (int y = 0; y < PanelHeight; ++y) {
        for (int x = 0; x < skin.width(); ++x) {
            const QPoint at(x, y);
            if (Covered(at) || !outline.contains(at)) continue;
            ++freeSkin;
            differing += Opaque(shot.pixel(at)) != Opaque(skin.pixel(at));
        }
    }
    EXPECT_GT(freeSkin, 15000);
    EXPECT_EQ(differing, 0) << "skin";

    const std::pair<SeeThroughButton* const ShapedFormWindow::*, const char*> buttons[] = {
        {&ShapedFormWindow::SeeThroughMin, "custom/101.gif"},  {&ShapedFormWindow::SeeThroughClose, "custom/103.gif"},
        {&ShapedFormWindow::SeeThroughCut, "custom/105.gif"},  {&ShapedFormWindow::SeeThroughPlay, "custom/107.gif"},
        {&ShapedFormWindow::SeeThroughTime, "custom/109.gif"}, {&ShapedFormWindow::SeeThroughWav, "custom/111.gif"},
    };
    for (const auto& [member, file] : buttons) {
        const SeeThroughButton* button = panel.window.*member;
        const QImage gif = SourcePicture(file);
        ASSERT_FALSE(gif.isNull()) << file;
        int pictured = 0;
        differing = 0;
        for (int y = 0; y < button->height(); ++y) {
            for (int x = 0; x < button->width(); ++x) {
                const QPoint at = button->geometry().topLeft() + QPoint(x, y);
                if (!outline.contains(at) || at.x() >= skin.width() || Covered(at, button)) continue;
                const QRgb own = gif.valid(x, y) ? gif.pixel(x, y) : 0;
                const bool seeThrough = qAlpha(own) == 0 || Opaque(own) == kSeeThroughKeyColour;
                pictured += !seeThrough;
                differing += Opaque(shot.pixel(at)) != Opaque(seeThrough ? skin.pixel(at) : own);
            }
        }
        EXPECT_GT(pictured, 100) << file;
        EXPECT_EQ(differing, 0) << file;
    }

    const QImage up = SourcePicture("bitmaps/RECORDBUTTONUP.bmp");
    const QPoint origin = panel.window.PictureRecord->geometry().topLeft();
    differing = 0;
    for (int y = 0; y < up.height(); ++y) {
        for (int x = 0; x < up.width(); ++x) differing += Opaque(shot.pixel(origin + QPoint(x, y))) != Opaque(up.pixel(x, y));
    }
    EXPECT_EQ(differing, 0) << "record button";
}

TEST_F(PanelWindow, ControlsSitWhereTheDesignPutsThemWithTheirTooltips) {
    const auto& w = panel.window;
    const std::pair<const QWidget*, QRect> placed[] = {
        {w.PictureRecord, {31, 8, 100, 21}},   {w.SeeThroughMin, {9, 8, 25, 25}},      {w.SeeThroughClose, {136, 8, 25, 25}},
        {w.SeeThroughCut, {104, 64, 55, 55}},  {w.SeeThroughWav, {64, 110, 55, 55}},   {w.SeeThroughPlay, {144, 110, 55, 55}},
        {w.SeeThroughTime, {104, 155, 55, 55}}, {w.Label6, {10, 104, 49, 33}},
    };
    for (const auto& [control, rect] : placed) EXPECT_EQ(control->geometry(), rect) << control->objectName().toStdString();
    EXPECT_EQ(w.SeeThroughWav->toolTip(), QStringLiteral("Convert Wav To mp3"));
    for (const QPushButton* command : {w.Command1, w.Command2, w.Command3, w.Command4}) EXPECT_FALSE(command->isVisible());
}

TEST_F(PanelWindow, StartsWithTheLabelsTimersAndScheduleDefaultsOfADesignedStart) {
    const auto& w = panel.window;
    EXPECT_EQ(w.Label3->text(), QStringLiteral("\u00A9Murmor"));
    EXPECT_EQ(w.Label4->text(), QStringLiteral("v 1.1"));
    for (const QtLabel* empty : {w.Label1, w.Label2, w.Label5, w.Label6}) EXPECT_TRUE(empty->text().isEmpty());
    EXPECT_FALSE(w.Timer1.isEnabled() || w.Timer2.isEnabled() || w.Timer3.isEnabled());

    const auto& f = panel.form2Window;
    EXPECT_FALSE(f.isVisible());
    std::vector<std::string> texts;
    for (const QtTextBox* text : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7}) texts.push_back(text->text());
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "00", "00", "AM", "0", "01", "00"}));
    EXPECT_EQ(f.Text8->text(), (QDir::homePath() + QStringLiteral("/AutoRec.wav")).toStdString());
    EXPECT_FALSE(f.Check1->isChecked());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("Murmora - Record Panel"));
    EXPECT_EQ(f.size(), QSize(345, 174));
}

// Steps a spinner as its upper (count up) or lower arrow does.
void StepUp(QtSpinner* spinner) { spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); }
void StepDown(QtSpinner* spinner) { spinner->triggerAction(QAbstractSlider::SliderSingleStepAdd); }

TEST_F(PanelWindow, SpinnerArrowsCountUpAndDownAndADraggedThumbCountsWhenLetGo) {
    auto& f = panel.form2Window;
    f.show();
    QTest::mouseClick(f.VScroll1, Qt::LeftButton, {}, QPoint(f.VScroll1->width() / 2, 2));
    EXPECT_EQ(f.Text1->text(), "2");
    QTest::mouseClick(f.VScroll2, Qt::LeftButton, {}, QPoint(f.VScroll2->width() / 2, 2));
    EXPECT_EQ(f.Text2->text(), "01");
    QTest::mouseClick(f.VScroll2, Qt::LeftButton, {}, QPoint(f.VScroll2->width() / 2, f.VScroll2->height() - 3));
    EXPECT_EQ(f.Text2->text(), "00");

    f.VScroll2->setSliderDown(true);  // a dragged thumb rewrites the text only when let go
    f.VScroll2->setSliderPosition(-30);
    EXPECT_EQ(f.Text2->text(), "00");
    f.VScroll2->setSliderDown(false);
    EXPECT_EQ(f.Text2->text(), "30");
}

TEST_F(PanelWindow, SpinnersStopAtTheirEndsWithoutWrapping) {
    auto& f = panel.form2Window;
    struct Case {
        QtSpinner* spinner;
        QtTextBox* text;
        int steps;
        std::string top, bottom;
    };
    const Case cases[] = {
        {f.VScroll1, f.Text1, 12, "12", "1"},  {f.VScroll2, f.Text2, 60, "59", "00"}, {f.VScroll3, f.Text3, 60, "59", "00"},
        {f.VScroll4, f.Text4, 2, "PM", "AM"},  {f.VScroll5, f.Text5, 10, "9", "0"},   {f.VScroll6, f.Text6, 60, "59", "00"},
        {f.VScroll7, f.Text7, 60, "59", "00"},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.steps + 3; ++i) StepUp(c.spinner);
        EXPECT_EQ(c.text->text(), c.top);
        for (int i = 0; i < c.steps + 3; ++i) StepDown(c.spinner);
        EXPECT_EQ(c.text->text(), c.bottom);
        c.spinner->triggerAction(QAbstractSlider::SliderPageStepSub);  // a click in the track above the thumb
        EXPECT_EQ(c.spinner->value(), c.spinner == f.VScroll1 || c.spinner == f.VScroll4 ? 2 : 1);
    }
}

// Typing cannot make a box show another time than the spinners hold, which the schedule uses.
TEST_F(PanelWindow, TheTimeAndDurationBoxesTakeNoTypingButTheTargetBoxDoes) {
    auto& f = panel.form2Window;
    f.show();
    for (QtTextBox* box : {f.Text1, f.Text2, f.Text3, f.Text4, f.Text5, f.Text6, f.Text7, f.Text8}) {
        const std::string shown = box->text();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, QStringLiteral("11pm"));
        EXPECT_EQ(box->text(), box == f.Text8 ? shown.substr(0, shown.size() - 1) + "11pm" : shown)
            << box->objectName().toStdString();
    }
}

TEST_F(PanelWindow, ClosingByTheWindowSystemRunsTheUnloadAndEndsTheProgram) {
    mci.take();
    QTimer::singleShot(0, &panel.window, [this] { panel.window.close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(mci.take(), (std::vector<std::string>{"stop voice1", "close voice1"}));
    EXPECT_TRUE(panel.windows.programEnding());
    EXPECT_TRUE(panel.windows.scheduleWindowLoaded());  // the hidden schedule window does not keep it alive
}

TEST_F(PanelWindow, CloseButtonShutsDownAndEndsTheProgram) {
    mci.take();
    QTimer::singleShot(0, panel.window.SeeThroughClose,
                       [this] { QTest::mouseClick(panel.window.SeeThroughClose, Qt::LeftButton, {}, QPoint(10, 10)); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(mci.sent("stop voice1"));
    EXPECT_FALSE(mci.sent("stop capture"));
    EXPECT_FALSE(panel.windows.scheduleWindowLoaded());
}

TEST_F(PanelWindow, ScheduleWindowStaysOpenWhenItsCloseIsRefused) {
    auto& f = panel.form2Window;
    int asked = 0;
    f.onQueryClose = [&asked] { return ++asked == 1; };
    f.show();
    f.close();
    EXPECT_TRUE(f.isVisible());
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(f.isVisible());
}

} // namespace
} // namespace murmora
