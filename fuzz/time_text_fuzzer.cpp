// Arms the schedule with any time-of-day text the locale might give, and checks that the
// delay always lands within a day and the current time within 0 to 86399.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fakes/fake_app.h"

using namespace murmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fakes::FakeApp* app = [] {
        auto* a = new fakes::FakeApp;
        fakes::FakeApp::Start(*a);
        return a;
    }();
    app->clock.setTimeOfDay(13, 5, 7);
    app->clock.timeText = std::string(reinterpret_cast<const char*>(data), size);
    app->form.trigger.SetAlarm();
    const auto& mod = app->mod;
    if (mod.CurrentTimeSeconds < 0 || mod.CurrentTimeSeconds >= kSecondsPerDay) std::abort();
    if (mod.StartDelaySeconds < 0 || mod.StartDelaySeconds >= kSecondsPerDay) std::abort();
    return 0;
}
