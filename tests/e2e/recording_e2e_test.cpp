// A manual take: the record button, 3 s of the test microphone, the stop button, the save dialog.
#include <QFile>
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
    const auto facts = readWavFacts(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->rate, 44100);
    EXPECT_EQ(facts->channels, 2);
    EXPECT_TRUE(facts->pcm16);
    EXPECT_EQ(panel->panel.recorder.latestTakePath(), path.toStdString());
    EXPECT_FALSE(panel->panel.recorder.isRecording());
    EXPECT_TRUE(takesLeft().isEmpty()) << takesLeft().join(' ').toStdString();

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

// The name reaches the file system as typed: blanks before, inside and after it are kept, so the
// file its trimmed form names is neither asked about nor touched, and Play finds the take.
TEST_F(ManualTake, ANameWithBlanksIsSavedAndPlayedExactlyAsTyped) {
    const QString trimmed = scratchPath(" important  take.wav");
    QFile other(trimmed);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly) && other.write("kept\n") == 5);
    other.close();
    const QString typed = trimmed + "  ";

    EXPECT_EQ(recordByHand(typed, 1500), "Recording saved as  " + typed);
    EXPECT_TRUE(holdsTheTone(readSound(typed), 1.2));
    ASSERT_TRUE(other.open(QIODevice::ReadOnly));
    EXPECT_EQ(other.readAll(), "kept\n");
    playLatestTake();
    EXPECT_TRUE(panel->window.sizeLabel->text().endsWith(" KB")) << "Play did not open " << typed.toStdString();
}

} // namespace
} // namespace murmora::e2e
