// A manual take, end to end: the record button, three seconds of the test microphone, the
// Cut button, the save dialog and the confirmation.
#include <QRegularExpression>

#include "tests/e2e/e2e_support.h"

namespace murmora::e2e {
namespace {

class ManualTake : public SoundPanel {};

// The whole seconds of "N sec" captions; nothing for a caption of another form.
std::optional<int> SecondsOf(const QString& caption) {
    static const QRegularExpression format(QStringLiteral("^(-?[0-9]+) sec$"));
    const auto match = format.match(caption);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}

TEST_F(ManualTake, RecordButtonThenCutButtonSavesTheToneUnderTheChosenName) {
    const QString path = Path(QStringLiteral("first take.wav"));
    const QString confirmation = RecordByHand(path, 3000);

    EXPECT_EQ(confirmation, QStringLiteral("Recording saved as  ") + path);
    const auto sound = ReadSound(path);
    EXPECT_TRUE(HoldsTheTone(sound, 2.7));
    ASSERT_TRUE(sound);
    EXPECT_NEAR(sound->seconds, 3.0, 0.3) << sound->report;
    const auto facts = ReadWavFacts(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->rate, 44100);
    EXPECT_EQ(facts->channels, 2);
    EXPECT_EQ(facts->bits, 16);
    EXPECT_EQ(panel->form.ctx.m.PlayFileName, path.toStdString());
    EXPECT_FALSE(panel->form.ctx.mod.LastSaveScheduled);
    EXPECT_EQ(panel->form.ctx.m.RecordingState, RecorderIdle);
    EXPECT_TRUE(TakesLeft().isEmpty()) << TakesLeft().join(QLatin1Char(' ')).toStdString();
}

TEST_F(ManualTake, Label1CountsTheSecondsDuringTheTakeAndKeepsTheLast) {
    std::vector<QString> shown;
    RecordByHand(Path(QStringLiteral("counted.wav")), 3000, &shown);

    ASSERT_GE(shown.size(), 2u) << "Label1 did not count: " << (shown.empty() ? "" : shown.front().toStdString());
    std::vector<int> seconds;
    for (const QString& caption : shown) {
        const auto value = SecondsOf(caption);
        ASSERT_TRUE(value) << "Label1 showed \"" << caption.toStdString() << "\"";
        seconds.push_back(*value);
    }
    // One tick a second from the clock's whole seconds: 1, 2, (3); a tick near a second's
    // boundary may skip one, never go back.
    EXPECT_LE(seconds.front(), 2);
    for (std::size_t i = 1; i < seconds.size(); ++i) {
        EXPECT_GE(seconds[i] - seconds[i - 1], 1) << "after " << seconds[i - 1];
        EXPECT_LE(seconds[i] - seconds[i - 1], 2) << "after " << seconds[i - 1];
    }
    EXPECT_GE(seconds.back(), 2);
    EXPECT_LE(seconds.back(), 4);
    EXPECT_EQ(panel->window.Label1->text(), shown.back()) << "the stop must leave the last seconds shown";
}

} // namespace
} // namespace murmora::e2e
