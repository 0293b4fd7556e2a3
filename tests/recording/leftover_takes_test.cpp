// Takes left behind by a run that ended in the middle of them: found at the next start-up,
// moved to the home folder under a name that says when, and the user told where.
#include "tests/recording/recording_fixture.h"

namespace murmora::fakes {
namespace {

const std::string Told = "Murmora ended during a recording.\n\nWhat was recorded until then is kept as  ";
constexpr DateTime Dec6At1305 = 1796562307;  // 2026-12-06 13:05:07 on the wall clock

class LeftoverTakes : public ::testing::Test {
protected:
    void LeaveTake(const std::string& path, DateTime lastWritten) {
        app.files.Add(path);
        app.takes.leftovers.push_back({path, lastWritten});
    }
    FakeApp app;
};

TEST_F(LeftoverTakes, EachGoesToTheHomeFolderNamedForWhenAndTheUserIsTold) {
    LeaveTake("/cache/takes/take-12-0.wav", Dec6At1305);
    LeaveTake("/cache/takes/take-40-0.wav", Dec6At1305);
    FakeApp::Start(app);
    const std::string first = "/home/user/Murmora take 2026-12-06 13-05-07.wav";
    const std::string second = "/home/user/Murmora take 2026-12-06 13-05-07 (2).wav";
    EXPECT_TRUE(app.files.FileExists(first));
    EXPECT_TRUE(app.files.FileExists(second));
    EXPECT_FALSE(app.files.FileExists("/cache/takes/take-12-0.wav"));
    EXPECT_EQ(app.messages.Prompts(), (std::vector<std::string>{Told + first, Told + second}));
    EXPECT_EQ(app.messages.shown.at(0).style, vbExclamation);
}

TEST_F(LeftoverTakes, OneThatCannotBeMovedIsNamedWhereItIs) {
    LeaveTake("/cache/takes/take-12-0.wav", Dec6At1305);
    app.files.undeletable.insert("/cache/takes/take-12-0.wav");
    FakeApp::Start(app);
    EXPECT_TRUE(app.files.FileExists("/cache/takes/take-12-0.wav"));
    EXPECT_EQ(app.messages.Prompts(), std::vector<std::string>{Told + "/cache/takes/take-12-0.wav"});
}

TEST_F(LeftoverTakes, NoneMeansNoWord) {
    FakeApp::Start(app);
    EXPECT_TRUE(app.messages.shown.empty());
}

} // namespace
} // namespace murmora::fakes
