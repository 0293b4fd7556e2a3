#pragma once
// A started panel on fakes at 10:00:00, and the user's moves in the schedule window.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/fakes/fake_app.h"

namespace murmora::fakes {

using Commands = std::vector<std::string>;
using Strings = std::vector<std::string>;
inline const Strings AlreadyRecording{"AutoRecord not initiated, as already Recording"};

inline const std::string DefaultTarget = "/home/user/AutoRec.wav";
inline const Commands StopPlayback{"stop voice1", "close voice1"};
inline const Commands ScheduledStart{"open new type waveaudio alias capture", "record capture"};

class ScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        app.clock.setTimeOfDay(10, 0, 0);
        FakeApp::Start(app);
    }

    void ChooseStart(int hour, int minute, int second, const std::string& dayHalf) {
        app.VScroll1.setValue(hour);
        app.VScroll2.setValue(minute);
        app.VScroll3.setValue(second);
        app.VScroll4.setValue(dayHalf == "PM" ? 2 : 1);
    }

    void ChooseDuration(int hours, int minutes, int seconds) {
        app.VScroll5.setValue(hours);
        app.VScroll6.setValue(minutes);
        app.VScroll7.setValue(seconds);
    }

    // The close box; returns Cancel.
    std::int16_t CloseByUser() {
        std::int16_t cancel = 0;
        app.form.form2.QueryUnload(cancel, vbFormControlMenu);
        return cancel;
    }

    // The Schedule button; `work` is what the user does in the window, by default closing it.
    void OpenWindow(std::function<void()> work = {}) {
        app.windows.whileScheduleWindowShown = [this, work] { work ? work() : void(CloseByUser()); };
        app.SeeThroughTime.click();
    }

    void Arm(int hour, int minute, int second, const std::string& dayHalf, int durationSeconds = 60) {
        OpenWindow([=, this] {
            ChooseStart(hour, minute, second, dayHalf);
            ChooseDuration(durationSeconds / 3600, durationSeconds / 60 % 60, durationSeconds % 60);
            app.Check1.checked = true;
            CloseByUser();
        });
    }

    void TickAt(int hour, int minute, int second) {
        app.clock.setTimeOfDay(hour, minute, second);
        app.Timer2.tick();
    }

    FakeApp app;
};

} // namespace murmora::fakes
