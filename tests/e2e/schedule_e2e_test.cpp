// A scheduled take armed through the schedule window's controls, saved without a dialog, then played.
#include <QAbstractSlider>
#include <QDateTime>
#include <QDir>
#include <QTest>

#include "tests/e2e/e2e_support.h"

namespace murmora::e2e {
namespace {

class ScheduledTake : public SoundPanel {
protected:
    static void spinTo(QtSpinner* spinner, int value) { // with its arrows; the upper one counts up
        for (int step = 0; step < 100 && spinner->value() != value; ++step) {
            spinner->triggerAction(spinner->value() < value ? QAbstractSlider::SliderSingleStepSub
                                                            : QAbstractSlider::SliderSingleStepAdd);
        }
        EXPECT_EQ(spinner->value(), value);
    }

    // Arms the open schedule window `aheadSeconds` from now (whole seconds, returned) for `seconds`.
    QDateTime setStartAndDuration(int aheadSeconds, int seconds) {
        auto& f = panel->scheduleDialog;
        QDateTime start = QDateTime::currentDateTime().addSecs(aheadSeconds);
        start.setTime(QTime(start.time().hour(), start.time().minute(), start.time().second()));
        const int hour = start.time().hour();
        spinTo(f.startHourSpinner, hour % 12 == 0 ? 12 : hour % 12);
        spinTo(f.startMinuteSpinner, start.time().minute());
        spinTo(f.startSecondSpinner, start.time().second());
        spinTo(f.dayHalfSpinner, hour < 12 ? 1 : 2);
        spinTo(f.durationHoursSpinner, seconds / 3600);
        spinTo(f.durationMinutesSpinner, seconds / 60 % 60);
        spinTo(f.durationSecondsSpinner, seconds % 60);
        QTest::mouseClick(f.activateCheckBox, Qt::LeftButton);
        EXPECT_TRUE(f.activateCheckBox->isChecked());
        return start;
    }

    static QString startText(const QDateTime& start) { return start.time().toString(QStringLiteral("h:mm:ss AP")); }

    bool recording() const { return panel->panel.recorder.isRecording(); }
};

TEST_F(ScheduledTake, StartsOnTimeStopsAfterItsDurationAndIsSavedToTheTargetWithoutADialog) {
    const QString target = scratchPath("scheduled take.wav");
    QString targetMessage;
    QDateTime start;
    auto& form2 = panel->scheduleDialog;
    // Its File button chooses the target; then start, duration and Activate; then its close box.
    modals->expect(
        "schedule window", [&form2](QWidget* window) { return window == &form2; },
        [&form2](QWidget*) { form2.chooseTargetButton->click(); });
    modals->expectFileDialog("Save File As", target);
    modals->expectMessage(&targetMessage);
    modals->expect(
        "schedule window, again", [&form2](QWidget* window) { return window == &form2; },
        [this, &form2, &start](QWidget*) {
            start = setStartAndDuration(5, 2);
            form2.close();
        });

    click(panel->window.scheduleButton); // returns once the schedule window is hidden
    ASSERT_TRUE(modals->waitDone(10000)) << "the schedule window was not answered";
    EXPECT_FALSE(form2.isVisible());
    EXPECT_EQ(targetMessage, QStringLiteral("Recording will be saved as ") + target);
    EXPECT_EQ(form2.targetPathBox->text(), target.toStdString());
    EXPECT_EQ(panel->window.scheduleCaptionLabel->text(), QStringLiteral("Record:"));
    EXPECT_EQ(panel->window.scheduleTimeLabel->text(), startText(start));
    EXPECT_TRUE(panel->window.scheduleStartTimer.isEnabled()) << "the schedule is not armed";
    EXPECT_FALSE(recording()) << "started before its time";

    const int waitForStart = static_cast<int>(QDateTime::currentDateTime().msecsTo(start)) + 10000;
    ASSERT_TRUE(QTest::qWaitFor([this] { return recording(); }, waitForStart));
    const qint64 lateMs = start.msecsTo(QDateTime::currentDateTime());
    EXPECT_GE(lateMs, 0);
    EXPECT_LE(lateMs, 2500);
    EXPECT_TRUE(panel->window.scheduledStopTimer.isEnabled()) << "not the scheduled take";
    EXPECT_FALSE(panel->window.scheduleStartTimer.isEnabled()) << "the schedule must fire once";

    ASSERT_TRUE(QTest::qWaitFor([this] { return !recording(); }, 10000)) << "the take did not stop by itself";
    EXPECT_FALSE(panel->window.scheduledStopTimer.isEnabled());
    EXPECT_EQ(panel->panel.recorder.latestTakePath(), target.toStdString());
    EXPECT_TRUE(panel->window.scheduleCaptionLabel->text().isEmpty());
    EXPECT_TRUE(panel->window.scheduleTimeLabel->text().isEmpty());
    const auto sound = readSound(target);
    EXPECT_TRUE(holdsTheTone(sound, 1.7));
    ASSERT_TRUE(sound);
    EXPECT_NEAR(sound->seconds, 2.0, 0.35) << sound->report;
    EXPECT_TRUE(QDir::home().entryList({QStringLiteral("Murmora take*")}).isEmpty()) << "saved to the fallback";
    EXPECT_TRUE(takesLeft().isEmpty()) << takesLeft().join(QLatin1Char(' ')).toStdString();

    const qint64 playedMs = playLatestTake(); // labels and output are checked by the playback test
    EXPECT_GE(playedMs, sound->seconds * 1000 - 200);
    EXPECT_LE(playedMs, sound->seconds * 1000 + 1500);
}

} // namespace
} // namespace murmora::e2e
