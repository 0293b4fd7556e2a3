#pragma once
// A started panel on fakes at 10:00:00, and the user's moves in the schedule window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/fake_panel.h"

namespace murmora::fakes {

inline const Strings kAlreadyRecording{"AutoRecord not initiated, as already Recording"};
inline const EngineCalls kTakeStarted{{EngineCall::startTake, {}}};
inline const std::string kDefaultTarget = "/home/user/AutoRec.wav";

class ScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.setTimeOfDay(10, 0, 0);
        app.start();
    }

    void chooseStart(int hour, int minute, int second, const std::string& dayHalf) {
        app.chooseStart(hour, minute, second, dayHalf);
    }
    void chooseDuration(int hours, int minutes, int seconds) {
        app.chooseDuration(hours * 3600 + minutes * 60 + seconds);
    }

    // The close box.
    void closeByUser() { app.panel.schedule.onCloseRequested(); }

    // The Schedule button; `work` is what the user does in the window, by default closing it.
    void openWindow(std::function<void()> work = {}) {
        app.windows.whileScheduleWindowShown = [this, work] { work ? work() : closeByUser(); };
        app.scheduleButton.click();
    }

    void arm(int hour, int minute, int second, const std::string& dayHalf, int durationSeconds = 60) {
        openWindow([=, this] {
            chooseStart(hour, minute, second, dayHalf);
            app.chooseDuration(durationSeconds);
            app.activateCheckBox.checked = true;
            closeByUser();
        });
    }

    void tickAt(int hour, int minute, int second) {
        app.clock.setTimeOfDay(hour, minute, second);
        app.scheduleStartTimer.tick();
    }

    // A tick a second before the time of day starts nothing; a tick at it starts the take.
    void expectTakeStartsAt(int hour, int minute, int second) {
        const int before = (hour * 60 + minute) * 60 + second - 1;
        tickAt(before / 3600, before / 60 % 60, before % 60);
        EXPECT_TRUE(app.engine.take().empty()) << "a second early";
        tickAt(hour, minute, second);
        EXPECT_EQ(app.engine.take(), kTakeStarted);
    }

    FakePanel app;
};

} // namespace murmora::fakes
