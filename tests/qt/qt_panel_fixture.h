#pragma once
// The real record panel and schedule window, started on fakes of the engine, the take folder,
// the hotkeys and the settings.
#include <gtest/gtest.h>

#include "app/qt_panel.h"
#include "tests/support/fake_engine.h"

namespace murmora::testing {

class QtPanelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(panel.start(), std::nullopt); }
    void TearDown() override {
        panel.scheduleDialog.hide();
        panel.window.hide();
    }

    fakes::FakeFiles files;
    fakes::FakeEngine engine{files};
    fakes::FakeTakeFolder takes{files};
    fakes::FakeHotkeys hotkeys; // both combinations free: no warning box at start-up
    fakes::FakeSettingsStore settings;
    qt::QtPanel panel{engine, engine, takes, hotkeys, settings};
};

} // namespace murmora::testing
