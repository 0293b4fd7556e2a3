#pragma once
#include <memory>

#include <QApplication>

#include "app/qt_panel.h"
#include "engine/backends/backends.h"
#include "engine/disk_take_folder.h"
#include "engine/sound_engine.h"
#include "engine/take_file.h"
#include "platform/hotkeys.h"
#include "platform/qt/qt_ui_thread.h"

namespace murmora {

// Both hotkeys granted, for the panel on the offscreen platform in the benchmarks: there are no
// keys to grab there, and a start-up warning box would wait for an answer.
class GrantedHotkeys final : public Hotkeys {
public:
    std::error_code registerHotkey(const Hotkey&) override { return {}; }
    void unregisterHotkey(int) override {}
    void setHotkeyHandler(std::function<void(int)>) override {}
};

// The choices of the panel's menu as given, kept for the run only.
class GivenSettings final : public SettingsStore {
public:
    explicit GivenSettings(Settings settings = {}) : settings_(std::move(settings)) {}
    Settings load() override { return settings_; }
    std::error_code save(const Settings& settings) override {
        settings_ = settings;
        return {};
    }

private:
    Settings settings_;
};

// The program's own panel on the machine's real engine, as the program makes it, with the
// hotkeys granted and the menu's choices at their defaults, kept when its window closes. Needs
// the QApplication first.
struct BenchPanel {
    BenchPanel() {
        qt::returnLargeBlocksToTheSystem();
        QApplication::setQuitOnLastWindowClosed(false);
    }
    qt::QtUiThread uiThread;
    std::filesystem::path takeFolder = audio::defaultTakeFolder();
    audio::SoundEngine engine{audio::makeAudioBackend(), takeFolder, uiThread};
    std::unique_ptr<TakeFolder> takes = audio::makeTakeFolder(takeFolder);
    GrantedHotkeys hotkeys;
    GivenSettings settings;
    qt::QtPanel panel{engine, engine, *takes, hotkeys, settings};
};

} // namespace murmora
