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
        panel.windows.hideScheduleWindow();
        panel.window.hide();
    }

    fakes::FakeFiles files;
    fakes::FakeEngine engine{files};
    fakes::FakeTakeFolder takes{files};
    fakes::FakeHotkeys hotkeys; // both combinations free: no warning box at start-up
    fakes::FakeSettingsStore settings;
    qt::QtPanel panel{engine, engine, takes, hotkeys, settings};
};

// The child of `parent` named `name`, as the class it is made of. findChild cannot look for a
// class of no Q_OBJECT of its own (Qt 6.8 refuses it at compile time; older Qt matches any child
// of its nearest Qt base).
template <class Widget>
Widget* childNamed(const QObject& parent, const char* name) {
    return dynamic_cast<Widget*>(parent.findChild<QObject*>(name));
}

} // namespace murmora::testing
