// A manual take: the record button, 3 s of the test microphone, the stop button, the save dialog.
#include <QRegularExpression>

#include "tests/e2e/e2e_support.h"

namespace murmora::e2e {
namespace {

using ManualTake = SoundPanel;

TEST_F(ManualTake, RecordThenCutCountsTheSecondsAndSavesTheToneUnderTheChosenName) {
    const QString path = scratchPath("first take.wav");
    std::vector<QString> shown;
    const QString confirmation = recordByHand(path, 3000, &shown);

    EXPECT_EQ(confirmation, "Recording saved as  " + path);
    const auto sound = readSound(path);
    EXPECT_TRUE(holdsTheTone(sound, 2.7));
    ASSERT_TRUE(sound);
    EXPECT_NEAR(sound->seconds, 3.0, 0.3) << sound->report;
    EXPECT_FALSE(panel->panel.recorder.isRecording());

    // secondsLabel counts whole seconds 1, 2, (3): a tick near a boundary may skip one, never go back.
    ASSERT_GE(shown.size(), 2u) << "secondsLabel did not count: " << (shown.empty() ? "" : shown.front().toStdString());
    std::vector<int> seconds;
    for (const QString& caption : shown) {
        const auto match = QRegularExpression("^(-?[0-9]+) sec$").match(caption);
        ASSERT_TRUE(match.hasMatch()) << "secondsLabel showed \"" << caption.toStdString() << "\"";
        seconds.push_back(match.captured(1).toInt());
    }
    EXPECT_LE(seconds.front(), 2);
    for (std::size_t i = 1; i < seconds.size(); ++i) {
        EXPECT_TRUE(seconds[i] - seconds[i - 1] == 1 || seconds[i] - seconds[i - 1] == 2) << "after " << seconds[i - 1];
    }
    EXPECT_TRUE(seconds.back() >= 2 && seconds.back() <= 4) << seconds.back();
    EXPECT_EQ(panel->window.secondsLabel->text(), shown.back());
}

} // namespace
} // namespace murmora::e2e
