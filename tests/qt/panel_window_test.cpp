// The real record panel and schedule window on the offscreen platform.
#include <algorithm>
#include <string>
#include <vector>

#include <QAbstractSlider>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/panel_layout.h"
#include "tests/qt/modal_answer.h"
#include "tests/qt/qt_panel_fixture.h"

namespace murmora {
using namespace murmora::qt;
namespace {

QImage sourcePicture(const char* relativePath) {
    return QImage(QStringLiteral(MURMORA_RESOURCES_DIR "/") + QLatin1String(relativePath))
        .convertToFormat(QImage::Format_ARGB32);
}

QRgb opaque(QRgb pixel) { return pixel | 0xFF000000u; }

class RealPanel : public testing::QtPanelTest {
protected:
    QImage panelShot() { return panel.window.grab().toImage().convertToFormat(QImage::Format_ARGB32); }

    // True when a control other than `except` lies over the pixel.
    bool covered(const QPoint& at, const QWidget* except = nullptr) {
        const auto children = panel.window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        return std::any_of(children.begin(), children.end(), [&](const QWidget* child) {
            return child != except && child->isVisible() && child->geometry().contains(at);
        });
    }

    const QImage skin = sourcePicture("bitmaps/MRSKIN.bmp");
};

TEST_F(RealPanel, PaintsTheSkinWithEveryButtonsReleasedPictureOverIt) {
    const QImage shot = panelShot();
    const QRegion outline = panel.window.mask();
    int freeSkin = 0, differing = 0;
    for (int y = 0; y < panel_layout::kWindow.height; ++y) {
        for (int x = 0; x < skin.width(); ++x) {
            const QPoint at(x, y);
            if (covered(at) || !outline.contains(at)) continue;
            ++freeSkin;
            differing += opaque(shot.pixel(at)) != opaque(skin.pixel(at));
        }
    }
    EXPECT_GT(freeSkin, 15000);
    EXPECT_EQ(differing, 0) << "skin";

    const std::pair<QtPictureButton* const QtPanelWindow::*, const char*> buttons[] = {
        {&QtPanelWindow::minimizeButton, "custom/101.gif"}, {&QtPanelWindow::closeButton, "custom/103.gif"},
        {&QtPanelWindow::stopButton, "custom/105.gif"},     {&QtPanelWindow::playButton, "custom/107.gif"},
        {&QtPanelWindow::scheduleButton, "custom/109.gif"}, {&QtPanelWindow::convertButton, "custom/111.gif"},
    };
    for (const auto& [member, file] : buttons) {
        const QtPictureButton* button = panel.window.*member;
        const QImage gif = sourcePicture(file);
        ASSERT_FALSE(gif.isNull()) << file;
        int pictured = 0;
        differing = 0;
        for (int y = 0; y < button->height(); ++y) {
            for (int x = 0; x < button->width(); ++x) {
                const QPoint at = button->geometry().topLeft() + QPoint(x, y);
                if (!outline.contains(at) || at.x() >= skin.width() || covered(at, button)) continue;
                const QRgb own = gif.valid(x, y) ? gif.pixel(x, y) : 0;
                const bool seeThrough = qAlpha(own) == 0 || opaque(own) == kSeeThroughKeyColour;
                pictured += !seeThrough;
                differing += opaque(shot.pixel(at)) != opaque(seeThrough ? skin.pixel(at) : own);
            }
        }
        EXPECT_GT(pictured, 100) << file;
        EXPECT_EQ(differing, 0) << file;
    }

    const QImage up = sourcePicture("bitmaps/RECORDBUTTONUP.bmp");
    const QPoint origin = panel.window.recordButton->geometry().topLeft();
    differing = 0;
    for (int y = 0; y < up.height(); ++y) {
        for (int x = 0; x < up.width(); ++x)
            differing += opaque(shot.pixel(origin + QPoint(x, y))) != opaque(up.pixel(x, y));
    }
    EXPECT_EQ(differing, 0) << "record button";
}

// Steps a spinner as its upper (count up) or lower arrow does.
void stepUp(QtSpinner* spinner) { spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); }
void stepDown(QtSpinner* spinner) { spinner->triggerAction(QAbstractSlider::SliderSingleStepAdd); }

// The schedule window is made when it is first opened, and shows what the start-up gave it.
TEST_F(RealPanel, TheScheduleWindowIsMadeAtItsFirstOpeningWithWhatTheStartUpGaveIt) {
    EXPECT_EQ(panel.scheduleWindow.madeDialog(), nullptr);
    auto& f = panel.scheduleWindow.dialog();
    EXPECT_EQ(f.durationMinutesSpinner->value(), 1);
    EXPECT_EQ(f.durationMinutesBox->text(), "01");
    EXPECT_EQ(f.dayHalfBox->text(), "AM");
    EXPECT_TRUE(f.targetPathBox->text().ends_with("/AutoRec.wav")) << f.targetPathBox->text();
}

TEST_F(RealPanel, SpinnerArrowsCountUpAndDownAndADraggedThumbCountsWhenLetGo) {
    auto& f = panel.scheduleWindow.dialog();
    f.show();
    QTest::mouseClick(f.startHourSpinner, Qt::LeftButton, {}, QPoint(f.startHourSpinner->width() / 2, 2));
    EXPECT_EQ(f.startHourBox->text(), "2");
    QTest::mouseClick(f.startMinuteSpinner, Qt::LeftButton, {}, QPoint(f.startMinuteSpinner->width() / 2, 2));
    EXPECT_EQ(f.startMinuteBox->text(), "01");
    QTest::mouseClick(f.startMinuteSpinner, Qt::LeftButton, {},
                      QPoint(f.startMinuteSpinner->width() / 2, f.startMinuteSpinner->height() - 3));
    EXPECT_EQ(f.startMinuteBox->text(), "00");

    f.startMinuteSpinner->setSliderDown(true); // a dragged thumb rewrites the text only when let go
    f.startMinuteSpinner->setSliderPosition(-30);
    EXPECT_EQ(f.startMinuteBox->text(), "00");
    f.startMinuteSpinner->setSliderDown(false);
    EXPECT_EQ(f.startMinuteBox->text(), "30");
}

TEST_F(RealPanel, SpinnersStopAtTheirEndsWithoutWrapping) {
    auto& f = panel.scheduleWindow.dialog();
    struct Case {
        QtSpinner* spinner;
        QtTextBox* text;
        int steps;
        std::string top, bottom;
    };
    const Case cases[] = {
        {f.startHourSpinner, f.startHourBox, 12, "12", "1"},
        {f.startMinuteSpinner, f.startMinuteBox, 60, "59", "00"},
        {f.startSecondSpinner, f.startSecondBox, 60, "59", "00"},
        {f.dayHalfSpinner, f.dayHalfBox, 2, "PM", "AM"},
        {f.durationHoursSpinner, f.durationHoursBox, 10, "9", "0"},
        {f.durationMinutesSpinner, f.durationMinutesBox, 60, "59", "00"},
        {f.durationSecondsSpinner, f.durationSecondsBox, 60, "59", "00"},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.steps + 3; ++i)
            stepUp(c.spinner);
        EXPECT_EQ(c.text->text(), c.top);
        for (int i = 0; i < c.steps + 3; ++i)
            stepDown(c.spinner);
        EXPECT_EQ(c.text->text(), c.bottom);
        c.spinner->triggerAction(QAbstractSlider::SliderPageStepSub); // a click in the track above the thumb
        EXPECT_EQ(c.spinner->value(), c.spinner == f.startHourSpinner || c.spinner == f.dayHalfSpinner ? 2 : 1);
    }
}

// Keys typed into the real boxes reach the schedule's rules: Return and the focus leaving a box
// finish an edit, the Up and Down arrows step its spinner, and a refused value is told in a
// message box while the box shows the spinner's value again.
TEST_F(RealPanel, TheTimeAndDurationBoxesTakeTypingAndTheArrowKeys) {
    auto& f = panel.scheduleWindow.dialog();
    f.show();
    f.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f)); // a box that has the focus can lose it
    const auto retype = [](QtTextBox* box, const QString& typed) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
    };
    retype(f.startHourBox, QStringLiteral("11"));
    QTest::keyClick(f.startHourBox, Qt::Key_Return);
    EXPECT_EQ(f.startHourSpinner->value(), 11);
    retype(f.dayHalfBox, QStringLiteral("pm"));
    f.durationSecondsBox->setFocus(); // the focus leaves the box
    EXPECT_EQ(f.dayHalfSpinner->value(), 2);
    EXPECT_EQ(f.dayHalfBox->text(), "PM");
    QTest::keyClick(f.durationSecondsBox, Qt::Key_Up);
    QTest::keyClick(f.durationSecondsBox, Qt::Key_Up);
    QTest::keyClick(f.durationSecondsBox, Qt::Key_Down);
    EXPECT_EQ(f.durationSecondsSpinner->value(), 1);
    EXPECT_EQ(f.durationSecondsBox->text(), "01");

    QString told;
    testing::answerNextModal<QMessageBox>([&](QMessageBox* box) {
        told = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    retype(f.startMinuteBox, QStringLiteral("75"));
    QTest::keyClick(f.startMinuteBox, Qt::Key_Return);
    EXPECT_EQ(told, QStringLiteral("The minute of the start time must be a whole number from 0 to 59, not \"75\"."));
    EXPECT_EQ(f.startMinuteSpinner->value(), 0);
    EXPECT_EQ(f.startMinuteBox->text(), "00");
}

TEST_F(RealPanel, ClosingByTheWindowSystemRunsTheUnloadAndEndsTheProgram) {
    engine.take();
    QTimer::singleShot(0, &panel.window, [this] { panel.window.close(); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    // The inputs are looked at once the loop runs, as the rest of the start-up.
    EXPECT_EQ(engine.take(),
              (fakes::EngineCalls{{fakes::EngineCall::listInputs, {}}, {fakes::EngineCall::stopPlayback, {}}}));
}

TEST_F(RealPanel, ScheduleWindowStaysOpenWhenItsCloseIsRefused) {
    auto& f = panel.scheduleWindow.dialog();
    int asked = 0;
    f.onCloseRequested = [&] {
        if (++asked == 2) f.hide();
    };
    f.show();
    f.close();
    EXPECT_TRUE(f.isVisible());
    QTest::keyClick(&f, Qt::Key_Escape);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(f.isVisible());
}

} // namespace
} // namespace murmora
