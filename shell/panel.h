#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "buttons/image_button.h"
#include "buttons/resource_pictures.h"
#include "platform/choice_menu.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/level_display.h"
#include "platform/playback_engine.h"
#include "platform/process_launcher.h"
#include "platform/resources.h"
#include "platform/screen_metrics.h"
#include "platform/settings.h"
#include "platform/take_engine.h"
#include "platform/take_folder.h"
#include "platform/window_host.h"
#include "playback/converter.h"
#include "playback/player.h"
#include "recording/recorder.h"
#include "recording/take_choices.h"
#include "schedule/schedule_window.h"

namespace murmora {

// The services of the machine the panel uses.
struct PanelServices {
    Clock& clock;
    MessageBoxes& messages;
    TakeEngine& takeEngine;
    PlaybackEngine& playbackEngine;
    TakeFolder& takes;
    Files& files;
    ProcessLauncher& launcher;
    Hotkeys& hotkeys;
    Resources& resources;
    WindowHost& windows;
    ScreenMetrics& screen;
    SettingsStore& settings; // the choices of the panel's menu
};

// The controls of the record panel.
struct PanelControls {
    PictureButton& recordButton;
    PictureButton& minimizeButton;
    PictureButton& closeButton;
    PictureButton& stopButton;
    PictureButton& convertButton;
    PictureButton& playButton;
    PictureButton& scheduleButton;
    Label& secondsLabel; // seconds while recording, length while playing
    Label& sizeLabel;
    Label& copyrightLabel;
    Label& versionLabel;
    Label& scheduleCaptionLabel;
    Label& scheduleTimeLabel;
    Timer& elapsedTimer;
    Timer& scheduleStartTimer;
    Timer& scheduledStopTimer;
    Timer& levelTimer;
    LevelDisplay& levelDisplay; // the input level and a note on the display while recording
    FileDialog& saveTakeDialog;
    FileDialog& convertDialog;
    Timer& saveProgressTimer;
    ProgressWindow& saveProgress; // names the file a long save writes
    ChoiceMenu& choiceMenu;       // the input and the format, and the tooltip that names them
    Announcer& announcer;         // what a take does, for screen readers
};

// Record, stop and pause.
inline constexpr int kPanelHotkeys = 3;

// The record panel: start-up, the Close and Minimize buttons, the unload, the hotkeys and the
// outline; and the areas it is made of, each handed the services and controls it uses.
class Panel {
public:
    Panel(PanelServices services, PanelControls controls, ScheduleWindowControls scheduleControls);
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The start-up sequence up to what the panel's first paint shows; what stopped it, for the
    // user, when a picture the panel cannot do without is missing or unreadable.
    std::optional<std::string> load();
    // The rest of the start-up, which can wait until the panel is on screen: the hotkeys (round
    // trips to the window system, and a message when they cannot be had), the leftover takes and
    // the inputs there are.
    void finishStartUp();
    // The window system closes the panel (Alt+F4, the window manager): as the Close button, but
    // the schedule window is left loaded.
    void onSystemClose();
    // The desktop session ends: nobody is there to answer a question, so a take that runs is
    // neither saved nor discarded but kept where the next start recovers it; the program ends.
    void onSessionEnd();
    // The panel goes: stops the playback and gives back the hotkeys. A take is left alone.
    void unload();

    ResourcePictures pictures;
    TakeChoices choices;
    Recorder recorder;
    Player player;
    Converter converter;
    ScheduleWindow schedule;

private:
    // Shows the skin and every button's released picture; what stopped it when one cannot be read.
    std::optional<std::string> showPictures();
    void registerHotkeys();
    void onHotkeysRefused(const std::vector<int>& ids);
    // The one message that names the hotkeys not had, if any.
    void reportHotkeyFailures();
    // The tooltip names the keys of the hotkeys had, or that they are not global.
    void showHotkeysInToolTip();
    void onHotkey(int id);
    // The Close button: asks what becomes of a running take, then ends the program.
    void close();
    // Disarms the schedule, stops the timers, unloads and ends the program.
    void end(bool unloadScheduleWindow);

    PanelServices services_;
    PanelControls controls_;
    ImageButton minimizeButton_;
    ImageButton closeButton_;
    bool ending_ = false;
    std::array<bool, kPanelHotkeys> hotkeysRegistered_{}; // by id
};

} // namespace murmora
