#pragma once
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/sound_engine.h"
#include "platform/win32/win32_choice_menu.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_hotkeys.h"
#include "platform/win32/win32_panel_window.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_resources.h"
#include "platform/win32/win32_schedule_dialog.h"
#include "platform/win32/win32_settings_file.h"
#include "platform/win32/win32_ui_thread.h"
#include "platform/win32/win32_window_host.h"
#include "shell/panel.h"

namespace murmora::win32 {

// The record panel on Windows: the Win32 services and windows and the take engine over WASAPI,
// wired to the rules.
class Win32Panel {
public:
    Win32Panel();
    Win32Panel(const Win32Panel&) = delete;
    Win32Panel& operator=(const Win32Panel&) = delete;

    // Runs the start-up sequence, then shows the panel; what stopped it, for the user, when a
    // picture the panel cannot do without is missing or unreadable.
    std::optional<std::string> start();

private:
    // Windows speaks a take's start and end from the record button's state change and the
    // messages; an announcement of its own (a UI Automation notification) is still to come.
    class UnspokenAnnouncer final : public Announcer {
    public:
        void announce(const std::string&) override {}
    };

    // First made, last gone: the engine tells the panel through it until the engine has gone.
    Win32UiThread uiThread_;
    std::filesystem::path takeFolder_;
    audio::SoundEngine engine_;
    std::unique_ptr<TakeFolder> takes_;
    Win32Clock clock_;
    Win32MessageBoxes messages_;
    Win32Files files_;
    Win32ProcessLauncher launcher_;
    Win32Resources resources_;
    Win32ScreenMetrics screen_;
    Win32PanelWindow window_;
    Win32ScheduleDialog scheduleDialog_{window_.handle(), screen_};
    Win32Hotkeys hotkeys_{window_.handle()};
    Win32WindowHost windows_{window_, scheduleDialog_};
    Win32SettingsFile settings_;
    Win32ChoiceMenu choiceMenu_{window_};
    UnspokenAnnouncer announcer_;
    Panel panel_;
};

} // namespace murmora::win32
