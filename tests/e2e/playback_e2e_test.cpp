// Play shows the take's length and size, the output plays the tone, and the wait ends by itself.
#include <QFile>
#include <QTest>

#include "tests/e2e/e2e_support.h"

namespace murmora::e2e {
namespace {

using Playback = SoundPanel;

TEST_F(Playback, PlayShowsLengthAndSizeWhileTheOutputPlaysTheToneToItsEnd) {
    // A real save makes it the latest take; then 3 s of tone (529,200 bytes) give exact label texts.
    const QString path = scratchPath("played take.wav");
    recordByHand(path, 1000);
    ASSERT_EQ(panel->panel.recorder.latestTakePath(), path.toStdString());
    ASSERT_TRUE(QFile::remove(path));
    const ProcessResult sox = makeTone(path, "3");
    ASSERT_EQ(sox.exitCode, 0) << sox.output.toStdString();

    OutputListener listener(scratchPath("heard.raw"));
    ASSERT_TRUE(listener.started()) << "the output's monitor delivered nothing";
    const qint64 playedMs = playLatestTake();
    QTest::qWait(300); // the last frames reach the monitor
    const auto heard = listener.stop();

    EXPECT_EQ(panel->window.secondsLabel->text(), QStringLiteral("3.0 sec"));
    EXPECT_EQ(panel->window.sizeLabel->text(), QStringLiteral("516.8 KB"));
    EXPECT_EQ(panel->window.secondsLabel->x(), 10);
    EXPECT_EQ(panel->window.sizeLabel->x(), 10);
    EXPECT_GE(playedMs, 2800) << "the Play action returned before the end of the file";
    EXPECT_LE(playedMs, 4500) << "the Play action waited on after the end of the file";
    EXPECT_FALSE(panel->panel.player.isPlaying());
    EXPECT_EQ(mci->sendString("status voice1 mode", nullptr, 0), mci::kAliasNotOpen)
        << "voice1 was not closed at the end";

    ASSERT_TRUE(heard) << "the output's monitor could not be read";
    const auto sound = readSound(*heard);
    EXPECT_TRUE(holdsTheTone(sound, 2.7)) << "the output did not play the tone";
    ASSERT_TRUE(sound);
    EXPECT_LE(sound->seconds, 3.3) << "the output played more than the file";
}

} // namespace
} // namespace murmora::e2e
