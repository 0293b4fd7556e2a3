// A day of use in fast motion: tens of thousands of random, seeded events against the panel on
// fakes, with the program's invariants checked after every one of them.
#include <gtest/gtest.h>

#include <random>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {
namespace {

constexpr int NotOpen = 263;
constexpr int InputLost = 514;

// The audio devices as the MCI service keeps them, strict about every command that would merge
// or lose a take: those are logged as problems.
class DeviceModel {
public:
    DeviceModel(FakeApp& app, std::vector<std::string>& problems) : app_(app), problems_(problems) {}

    bool closing = false;  // the Close action discards a running take by design
    bool captureOpen = false;
    int takesSaved = 0;
    int takesDiscarded = 0;

    int Answer(const std::string& command, std::string& reply) {
        if (command == "open new type waveaudio alias capture") return OpenCapture();
        if (command.rfind("open ", 0) == 0) return OpenVoice(command);
        if (command == "record capture") return captureOpen ? Record() : NotOpen;
        if (command == "stop capture") return captureOpen ? (recording_ = false, lost_ ? InputLost : 0) : NotOpen;
        if (command == "status capture mode") return captureOpen ? (reply = CaptureMode(), 0) : NotOpen;
        if (command == "status capture length") return captureOpen ? (reply = "3000", 0) : NotOpen;
        if (command.rfind("save capture ", 0) == 0) return captureOpen ? Save(SavedPath(command)) : NotOpen;
        if (command == "close capture") return captureOpen ? CloseCapture() : NotOpen;
        if (command == "play voice1") return voiceOpen_ ? (playTicks_ = 1 + playLength_++ % 4, 0) : NotOpen;
        if (command == "status voice1 mode") return voiceOpen_ ? Mode(reply) : NotOpen;
        if (command == "status voice1 length") return voiceOpen_ ? (reply = "1500", 0) : NotOpen;
        if (command == "stop voice1") return voiceOpen_ ? (playTicks_ = 0, 0) : NotOpen;
        if (command == "close voice1") return voiceOpen_ ? (voiceOpen_ = false, playTicks_ = 0, 0) : NotOpen;
        if (command.rfind("set voice1 time format ", 0) == 0) return voiceOpen_ ? 0 : NotOpen;
        problems_.push_back("unknown command: " + command);
        return 261;
    }

    // The input goes away in the middle of a take, which ends there.
    void LoseInput() {
        if (recording_) lost_ = true, recording_ = false;
    }

private:
    std::string CaptureMode() const { return lost_ ? "not ready" : recording_ ? "recording" : "stopped"; }
    int OpenCapture() {
        if (captureOpen) return problems_.push_back("open new while the device holds a take"), 289;
        captureOpen = true;
        hasFrames_ = saved_ = recording_ = lost_ = false;
        return 0;
    }
    int Record() {
        if (lost_) return problems_.push_back("record after the input was lost"), InputLost;
        if (hasFrames_ && !recording_) problems_.push_back("record would add to a stopped take");
        recording_ = hasFrames_ = true;
        saved_ = false;
        return 0;
    }
    int Save(const std::string& path) {
        if (recording_) problems_.push_back("save while still recording");
        const auto slash = path.rfind('/');
        if (slash == std::string::npos || !app_.files.folders.count(slash == 0 ? "/" : path.substr(0, slash))) {
            return 286;
        }
        app_.files.add(path);
        saved_ = true;
        return 0;
    }
    int CloseCapture() {
        const bool userCancelled =
            !app_.messages.shown.empty() && app_.messages.shown.back().text == "Recording Not Saved";
        if (saved_) ++takesSaved;
        if (hasFrames_ && !saved_ && (userCancelled || closing)) ++takesDiscarded;
        if (hasFrames_ && !saved_ && !userCancelled && !closing) problems_.push_back("close discards a take nobody cancelled");
        captureOpen = false;
        return 0;
    }
    int OpenVoice(const std::string& command) {
        const std::string tail = " type waveaudio alias voice1";
        if (command.size() < 5 + tail.size() || command.compare(command.size() - tail.size(), tail.size(), tail)) {
            return problems_.push_back("malformed open: " + command), 261;
        }
        if (voiceOpen_) return 289;
        if (!app_.files.fileExists(command.substr(6, command.size() - 7 - tail.size()))) return 275;
        voiceOpen_ = true;
        return 0;
    }

    int Mode(std::string& reply) {
        reply = playTicks_ > 0 ? "playing" : "stopped";
        if (playTicks_ > 0) --playTicks_;
        return 0;
    }

    FakeApp& app_;
    std::vector<std::string>& problems_;
    bool recording_ = false, hasFrames_ = false, saved_ = false, voiceOpen_ = false;
    int playTicks_ = 0, playLength_ = 0;
    bool lost_ = false;
};

class SimulatedDay {
    FakeApp app_;

public:
    std::vector<std::string> problems;
    DeviceModel devices{app_, problems};

    explicit SimulatedDay(unsigned seed) : random_(seed) {
        app_.clock.setTimeOfDay(0, 0, 0);
        app_.files.folders.insert("/home/user/takes");
        app_.mci.respond = [this](const std::string& c, std::string& r) { return devices.Answer(c, r); };
        app_.messages.whileOpen = [this](const ShownMessage&) { MaybeNested(); };
        app_.pump.onEvents = [this] { MaybeNested(); };
        app_.windows.whileScheduleWindowShown = [this] { EditSchedule(); };
        FakeApp::Start(app_);
    }

    // Runs events until a day has passed on the clock; returns how many ran.
    long Run() {
        const DateTime end = app_.clock.time + kSecondsPerDay;
        while (app_.clock.time < end && problems.empty()) {
            TopUpDialogAnswers();
            Event();
        }
        devices.closing = true;
        app_.form.CloseAction();
        Check("Close");
        return events_;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Pick(100) < percent; }
    float Coordinate() { return static_cast<float>(Pick(2000)) - 200.0f; }

    void Event() {
        ++events_;
        const int kind = Pick(100);
        if (kind < 70) Second();
        else if (kind < 78) Press(app_.PictureRecord.mouse);
        else if (kind < 85) Press(app_.SeeThroughCut.mouse);
        else if (kind < 91) app_.hotkeys.press(static_cast<unsigned long>(Pick(3)));
        else if (kind < 94) app_.SeeThroughPlay.click();
        else if (kind < 96) app_.SeeThroughTime.click();
        else if (kind < 97) app_.SeeThroughWav.click();
        else if (kind < 98) devices.LoseInput();
        else if (Chance(5)) app_.clock.advance(Chance(50) ? Pick(3600) : -Pick(600));  // the clock is set
        Check("event " + std::to_string(events_));
    }

    void Second() {
        app_.clock.advance(1);
        app_.Timer1.tick();
        app_.Timer2.tick();
        app_.Timer3.tick();
    }

    void Press(MouseHandlers& mouse) {
        const int buttons = std::array<int, 5>{kLeftButton, kLeftButton, kRightButton, kMiddleButton, 3}[Pick(5)];
        mouse.down(buttons, Coordinate(), Coordinate());
        for (int i = Pick(3); i > 0; --i) mouse.move(buttons, Coordinate(), Coordinate());
        mouse.up(buttons, Coordinate(), Coordinate());
    }

    // What a modal box or the playback wait lets through: a tick, a hotkey, a record press.
    void MaybeNested() {
        if (depth_ >= 2 || !Chance(20)) return;
        ++depth_;
        const int kind = Pick(4);
        if (kind == 0) Second();
        if (kind == 1) app_.hotkeys.press(static_cast<unsigned long>(Pick(2)));
        if (kind == 2) Press(app_.PictureRecord.mouse);
        if (kind == 3) app_.Timer2.tick();
        Check("nested event");
        --depth_;
    }

    std::string SomePath() {
        switch (Pick(5)) {
        case 0: return "/home/user/takes/take" + std::to_string(Pick(5)) + ".wav";
        case 1: return "/home/user/My Take.wav";
        case 2: return "/gone/take.wav";  // a folder that does not exist
        default: return "/home/user/take" + std::to_string(Pick(20)) + ".wav";
        }
    }

    void TopUpDialogAnswers() {
        for (FakeFileDialog* dialog : {&app_.CommonDialog1, &app_.CommonDialog2, &app_.Form2Dialog}) {
            dialog->answers.clear();
            for (int i = 0; i < 4; ++i) {
                const int kind = Pick(10);
                dialog->answer(kind == 0 ? std::nullopt : kind == 1 ? std::optional<std::string>("") : SomePath());
            }
        }
    }

    // The user's work in the schedule window: a start time, a duration, a target, "Activate".
    void EditSchedule() {
        const int now = secondsAfterMidnight(app_.clock.time) + Pick(120);
        app_.VScroll1.setValue((now / 3600 + 11) % 12 + 1);
        app_.VScroll2.setValue(now / 60 % 60);
        app_.VScroll3.setValue(now % 60);
        app_.VScroll4.setValue(now >= 43200 ? 2 : 1);
        app_.VScroll5.setValue(0);
        app_.VScroll6.setValue(Pick(3));
        app_.VScroll7.setValue(Pick(60));
        app_.Check1.checked = Chance(80);
        if (Chance(30)) app_.Text8.contents = SomePath();
        if (Chance(20)) app_.form.form2.Command1Click();
        for (int attempt = 0; app_.windows.scheduleWindowShown && attempt < 3; ++attempt) {
            std::int16_t cancel = 0;
            app_.form.form2.QueryUnload(cancel, vbFormControlMenu);
            if (app_.windows.scheduleWindowShown) app_.VScroll7.setValue(30);  // the zero-duration refusal
        }
        ASSERT_FALSE(app_.windows.scheduleWindowShown) << "the schedule window could not be closed";
    }

    void Check(const std::string& when) {
        const auto& m = app_.m;
        const bool manual = m.RecordingState == RecorderBusy && !m.AutoRecording;
        const bool scheduled = m.RecordingState == RecorderBusy && m.AutoRecording;
        const bool open = !app_.windows.ended;
        if (m.AutoRecording && m.RecordingState == RecorderIdle) Fail(when, "AutoRecording while idle");
        if (open && app_.Timer1.enabled != manual) Fail(when, "Timer1 runs outside a manual take or stops in one");
        if (open && app_.Timer3.enabled != scheduled) Fail(when, "Timer3 runs outside a scheduled take or stops in one");
        if (open && m.RecordingState == RecorderBusy && !devices.captureOpen) Fail(when, "recording with no capture device");
    }

    void Fail(const std::string& when, const std::string& what) {
        if (problems.size() < 10) problems.push_back(when + " at " + std::to_string(app_.clock.time) + ": " + what);
    }

    std::mt19937 random_;
    long events_ = 0;
    int depth_ = 0;
};

class SimulatedDayTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(SimulatedDayTest, KeepsEveryInvariantAndLosesNoTake) {
    SimulatedDay day(GetParam());
    EXPECT_GT(day.Run(), 20000);
    EXPECT_TRUE(day.problems.empty()) << ::testing::PrintToString(day.problems);
    EXPECT_GT(day.devices.takesSaved, 10) << "a day of use saves takes";
    EXPECT_GT(day.devices.takesDiscarded, 0) << "and the user cancels some";
}

INSTANTIATE_TEST_SUITE_P(Seeds, SimulatedDayTest, ::testing::Values(1u, 2u, 3u, 20261206u));

} // namespace
} // namespace murmora::fakes
