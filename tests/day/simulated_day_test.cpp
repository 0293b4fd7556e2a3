// A day of use in fast motion: tens of thousands of random, seeded events against the panel on
// fakes, with the program's invariants checked after every one of them.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/fake_panel.h"

namespace murmora::fakes {
namespace {

// The audio devices as the MCI service keeps them, strict about every command that would merge
// or lose a take: those are logged as problems.
class DeviceModel {
public:
    DeviceModel(FakePanel& app, std::vector<std::string>& problems) : app_(app), problems_(problems) {}

    bool closing = false; // the Close action discards a running take by design
    bool captureOpen = false;
    int takesSaved = 0;
    int takesDiscarded = 0;

    int answer(const std::string& command, std::string& reply) {
        if (command == "open new type waveaudio alias capture") return openCapture();
        if (command.rfind("open ", 0) == 0) return openVoice(command);
        if (command == "record capture") return captureOpen ? record() : mci::kAliasNotOpen;
        if (command == "stop capture")
            return captureOpen ? (recording_ = false, lost_ ? mci::kDeviceLost : 0) : mci::kAliasNotOpen;
        if (command == "status capture mode") return captureOpen ? (reply = captureMode(), 0) : mci::kAliasNotOpen;
        if (command == "status capture length") return captureOpen ? (reply = "3000", 0) : mci::kAliasNotOpen;
        if (command.rfind("save capture ", 0) == 0) return captureOpen ? save(savedPath(command)) : mci::kAliasNotOpen;
        if (command == "close capture") return captureOpen ? closeCapture() : mci::kAliasNotOpen;
        if (command == "play voice1") return voiceOpen_ ? (playTicks_ = 1 + playLength_++ % 4, 0) : mci::kAliasNotOpen;
        if (command == "status voice1 mode") return voiceOpen_ ? mode(reply) : mci::kAliasNotOpen;
        if (command == "status voice1 length") return voiceOpen_ ? (reply = "1500", 0) : mci::kAliasNotOpen;
        if (command == "stop voice1") return voiceOpen_ ? (playTicks_ = 0, 0) : mci::kAliasNotOpen;
        if (command == "close voice1") return voiceOpen_ ? (voiceOpen_ = false, playTicks_ = 0, 0) : mci::kAliasNotOpen;
        if (command.rfind("set voice1 time format ", 0) == 0) return voiceOpen_ ? 0 : mci::kAliasNotOpen;
        problems_.push_back("unknown command: " + command);
        return 261;
    }

    // The input goes away in the middle of a take, which ends there.
    void loseInput() {
        if (recording_) lost_ = true, recording_ = false;
    }

private:
    std::string captureMode() const { return lost_ ? "not ready" : recording_ ? "recording" : "stopped"; }
    int openCapture() {
        if (captureOpen) return problems_.push_back("open new while the device holds a take"), 289;
        captureOpen = true;
        hasFrames_ = saved_ = recording_ = lost_ = false;
        return 0;
    }
    int record() {
        if (lost_) return problems_.push_back("record after the input was lost"), mci::kDeviceLost;
        if (hasFrames_ && !recording_) problems_.push_back("record would add to a stopped take");
        recording_ = hasFrames_ = true;
        saved_ = false;
        return 0;
    }
    int save(const std::string& path) {
        if (recording_) problems_.push_back("save while still recording");
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || !app_.files.folders.count(slash == 0 ? "/" : path.substr(0, slash))) {
            return 286;
        }
        app_.files.add(path);
        saved_ = true;
        return 0;
    }
    int closeCapture() {
        const bool userCancelled =
            !app_.messages.shown.empty() && app_.messages.shown.back().text == "Recording Not Saved";
        if (saved_) ++takesSaved;
        if (hasFrames_ && !saved_ && (userCancelled || closing)) ++takesDiscarded;
        if (hasFrames_ && !saved_ && !userCancelled && !closing)
            problems_.push_back("close discards a take nobody cancelled");
        captureOpen = false;
        return 0;
    }
    int openVoice(const std::string& command) {
        const std::string tail = " type waveaudio alias voice1";
        if (command.size() < 5 + tail.size() || command.compare(command.size() - tail.size(), tail.size(), tail)) {
            return problems_.push_back("malformed open: " + command), 261;
        }
        if (voiceOpen_) return 289;
        if (!app_.files.fileExists(command.substr(6, command.size() - 7 - tail.size()))) return 275;
        voiceOpen_ = true;
        return 0;
    }

    int mode(std::string& reply) {
        reply = playTicks_ > 0 ? "playing" : "stopped";
        if (playTicks_ > 0) --playTicks_;
        return 0;
    }

    FakePanel& app_;
    std::vector<std::string>& problems_;
    bool recording_ = false, hasFrames_ = false, saved_ = false, voiceOpen_ = false;
    int playTicks_ = 0, playLength_ = 0;
    bool lost_ = false;
};

class SimulatedDay {
    FakePanel app_;

public:
    std::vector<std::string> problems;
    DeviceModel devices{app_, problems};

    explicit SimulatedDay(unsigned seed) : random_(seed) {
        app_.clock.setTimeOfDay(0, 0, 0);
        app_.files.folders.insert("/home/user/takes");
        app_.mci.respond = [this](const std::string& c, std::string& r) { return devices.answer(c, r); };
        app_.messages.whileOpen = [this](const ShownMessage&) { maybeNested(); };
        app_.pump.onEvents = [this] { maybeNested(); };
        app_.windows.whileScheduleWindowShown = [this] { editSchedule(); };
        app_.start();
    }

    // Runs events until a day has passed on the clock; returns how many ran.
    long run() {
        const DateTime end = app_.clock.time + kSecondsPerDay;
        while (app_.clock.time < end && problems.empty()) {
            topUpDialogAnswers();
            event();
        }
        devices.closing = true;
        app_.closeButton.click();
        check("Close");
        return events_;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }
    float coordinate() { return static_cast<float>(pick(2000)) - 200.0f; }

    void event() {
        ++events_;
        const int kind = pick(100);
        if (kind < 70)
            second();
        else if (kind < 78)
            press(app_.recordButton.mouse);
        else if (kind < 85)
            press(app_.stopButton.mouse);
        else if (kind < 91)
            app_.hotkeys.press(static_cast<unsigned long>(pick(3)));
        else if (kind < 94)
            app_.playButton.click();
        else if (kind < 96)
            app_.scheduleButton.click();
        else if (kind < 97)
            app_.convertButton.click();
        else if (kind < 98)
            devices.loseInput();
        else if (chance(5))
            app_.clock.advance(chance(50) ? pick(3600) : -pick(600)); // the clock is set
        check("event " + std::to_string(events_));
    }

    void second() {
        app_.clock.advance(1);
        app_.elapsedTimer.tick();
        app_.scheduleStartTimer.tick();
        app_.scheduledStopTimer.tick();
    }

    void press(MouseHandlers& mouse) {
        const int buttons = std::array<int, 5>{kLeftButton, kLeftButton, kRightButton, kMiddleButton, 3}[pick(5)];
        mouse.down(buttons, coordinate(), coordinate());
        for (int i = pick(3); i > 0; --i)
            mouse.move(buttons, coordinate(), coordinate());
        mouse.up(buttons, coordinate(), coordinate());
    }

    // What a modal box or the playback wait lets through: a tick, a hotkey, a record press.
    void maybeNested() {
        if (depth_ >= 2 || !chance(20)) return;
        ++depth_;
        const int kind = pick(4);
        if (kind == 0) second();
        if (kind == 1) app_.hotkeys.press(static_cast<unsigned long>(pick(2)));
        if (kind == 2) press(app_.recordButton.mouse);
        if (kind == 3) app_.scheduleStartTimer.tick();
        check("nested event");
        --depth_;
    }

    std::string somePath() {
        switch (pick(5)) {
        case 0:
            return "/home/user/takes/take" + std::to_string(pick(5)) + ".wav";
        case 1:
            return "/home/user/My Take.wav";
        case 2:
            return "/gone/take.wav"; // a folder that does not exist
        default:
            return "/home/user/take" + std::to_string(pick(20)) + ".wav";
        }
    }

    void topUpDialogAnswers() {
        for (FakeFileDialog* dialog : {&app_.saveTakeDialog, &app_.convertDialog, &app_.targetDialog}) {
            dialog->answers.clear();
            for (int i = 0; i < 4; ++i) {
                const int kind = pick(10);
                dialog->answer(kind == 0 ? std::nullopt : kind == 1 ? std::optional<std::string>("") : somePath());
            }
        }
    }

    // The user's work in the schedule window: a start time, a duration, a target, "Activate".
    void editSchedule() {
        const int now = secondsAfterMidnight(app_.clock.time) + pick(120);
        app_.startHourSpinner.setValue((now / 3600 + 11) % 12 + 1);
        app_.startMinuteSpinner.setValue(now / 60 % 60);
        app_.startSecondSpinner.setValue(now % 60);
        app_.dayHalfSpinner.setValue(now >= 43200 ? 2 : 1);
        app_.durationHoursSpinner.setValue(0);
        app_.durationMinutesSpinner.setValue(pick(3));
        app_.durationSecondsSpinner.setValue(pick(60));
        app_.activateCheckBox.checked = chance(80);
        if (chance(30)) app_.targetPathBox.setText(somePath());
        if (chance(20)) app_.panel.schedule.onChooseTargetClicked();
        for (int attempt = 0; app_.windows.scheduleWindowShown && attempt < 3; ++attempt) {
            app_.panel.schedule.onCloseRequested();
            if (app_.windows.scheduleWindowShown) app_.durationSecondsSpinner.setValue(30); // the zero-duration refusal
        }
        ASSERT_FALSE(app_.windows.scheduleWindowShown) << "the schedule window could not be closed";
    }

    void check(const std::string& when) {
        const bool recording = app_.panel.recorder.isRecording();
        const bool elapsed = app_.elapsedTimer.enabled, scheduledStop = app_.scheduledStopTimer.enabled;
        if (app_.windows.ended) return;
        if (elapsed && scheduledStop) fail(when, "a take counts its seconds and waits for its scheduled stop");
        if (recording != (elapsed || scheduledStop))
            fail(when, "a take runs without its timer, or a timer without a take");
        if (recording && !devices.captureOpen) fail(when, "recording with no capture device");
    }

    void fail(const std::string& when, const std::string& what) {
        if (problems.size() < 10) problems.push_back(when + " at " + std::to_string(app_.clock.time) + ": " + what);
    }

    std::mt19937 random_;
    long events_ = 0;
    int depth_ = 0;
};

class SimulatedDayTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(SimulatedDayTest, KeepsEveryInvariantAndLosesNoTake) {
    SimulatedDay day(GetParam());
    EXPECT_GT(day.run(), 20000);
    EXPECT_TRUE(day.problems.empty()) << ::testing::PrintToString(day.problems);
    EXPECT_GT(day.devices.takesSaved, 10) << "a day of use saves takes";
    EXPECT_GT(day.devices.takesDiscarded, 0) << "and the user cancels some";
}

INSTANTIATE_TEST_SUITE_P(Seeds, SimulatedDayTest, ::testing::Values(1u, 2u, 3u, 20261206u));

} // namespace
} // namespace murmora::fakes
