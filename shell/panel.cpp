#include "shell/panel.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/key_sequence.h"
#include "core/texts.h"
#include "shell/panel_outline.h"

namespace murmora {

namespace {

// The short name after the copyright sign: six letters, a whole word, that end before the disc.
const char* const kShortName = "Murmur";
const char* const kVersionText = "v 1.1";

const char* const kHotkeyAssignTitle = textKey("Hotkey Assign");
// Said where the hotkeys reach the program only while an X11 window has the focus.
const char* const kNoGlobalHotkeys = textKey("Hotkeys: none on this desktop; use the panel's buttons or keys");
// A hotkey of the panel, and how the messages and the tooltip name it. Its id is its place here.
struct PanelHotkey {
    Hotkey hotkey;
    const char* messageKeys; // as the failure message writes them
    const char* purpose;     // what the failure message says it is for, when it alone failed
    const char* toolTipUse;  // what the tooltip says it does, after its keys
};

// The names stay as they are: desktops keep the keys a user gave the hotkeys under them.
const std::array<PanelHotkey, kPanelHotkeys>& panelHotkeys() {
    static const std::array<PanelHotkey, kPanelHotkeys> hotkeys{{
        {{0, "record", textKey("Start recording"), "Ctrl+Alt+R"},
         "Cntl+Alt+R",
         textKey("Record"),
         // TRANSLATORS: "%s" is the keys, as "Ctrl+Alt+R"; the tooltip lists them after "Hotkeys: %s".
         textKey("%s to record")},
        {{1, "stop", textKey("Stop recording and save"), "Ctrl+Alt+S"},
         "Cntl+Alt+S",
         textKey("Stop Recording"),
         textKey("%s to stop and save")},
        {{2, "pause", textKey("Pause or resume recording"), "Ctrl+Alt+P"},
         "Cntl+Alt+P",
         textKey("Pause Recording"),
         textKey("%s to pause")},
    }};
    return hotkeys;
}
// The keys as keyboards in the user's language label them ("Strg+Alt+R" in German). A desktop
// that names the keys itself names them in its own language, which is kept.
std::string keysInUsersWords(const std::string& keys) {
    std::string words;
    for (std::size_t start = 0; start <= keys.size();) {
        const std::size_t end = std::min(keys.find('+', start), keys.size());
        const std::string key = keys.substr(start, end - start);
        const bool modifier = std::ranges::find(kModifierNames, key) != kModifierNames.end();
        words += (start == 0 ? "" : "+") + (modifier ? std::string(translated(key.c_str())) : key);
        start = end + 1;
    }
    return words;
}
constexpr int kRecordHotkey = 0;
constexpr int kStopHotkey = 1;
constexpr int kPauseHotkey = 2;

// The one message that tells the user which hotkeys could not be had; empty when all were.
std::string hotkeyFailureMessage(const std::array<bool, kPanelHotkeys>& registered) {
    std::vector<const PanelHotkey*> failed;
    for (const PanelHotkey& hotkey : panelHotkeys())
        if (!registered[static_cast<std::size_t>(hotkey.hotkey.id)]) failed.push_back(&hotkey);
    if (failed.empty()) return {};
    if (failed.size() == 1)
        return translated("Can not register Hotkey %s to %s", {failed[0]->messageKeys, translated(failed[0]->purpose)});
    std::string keys = failed[0]->messageKeys;
    for (std::size_t i = 1; i < failed.size(); ++i)
        keys = i + 1 == failed.size() ? translated("%s and %s", {keys, failed[i]->messageKeys})
                                      : keys + ", " + failed[i]->messageKeys;
    return translated("Can not register Hotkeys %s", {keys});
}

std::string pictureFailure(const std::string& name, const std::error_code& error) {
    return translated("Its picture %s cannot be shown: %s.", {name, error.message()});
}

} // namespace

Panel::Panel(PanelServices services, PanelControls controls, ScheduleWindowControls scheduleControls)
    : pictures(services.resources, services.files),
      choices({.engine = services.takeEngine, .settings = services.settings, .messages = services.messages},
              controls.choiceMenu),
      recorder({.clock = services.clock,
                .engine = services.takeEngine,
                .messages = services.messages,
                .files = services.files,
                .takes = services.takes,
                .pictures = pictures,
                .screen = services.screen},
               {.recordButton = controls.recordButton,
                .stopButton = controls.stopButton,
                .secondsLabel = controls.secondsLabel,
                .sizeLabel = controls.sizeLabel,
                .elapsedTimer = controls.elapsedTimer,
                .scheduledStopTimer = controls.scheduledStopTimer,
                .levelTimer = controls.levelTimer,
                .levelDisplay = controls.levelDisplay,
                .saveTakeDialog = controls.saveTakeDialog,
                .saveProgressTimer = controls.saveProgressTimer,
                .saveProgress = controls.saveProgress,
                .announcer = controls.announcer},
               player, schedule, choices),
      player(
          {.engine = services.playbackEngine,
           .files = services.files,
           .messages = services.messages,
           .pictures = pictures,
           .screen = services.screen},
          {.playButton = controls.playButton, .secondsLabel = controls.secondsLabel, .sizeLabel = controls.sizeLabel},
          recorder),
      converter({.files = services.files,
                 .launcher = services.launcher,
                 .messages = services.messages,
                 .pictures = pictures,
                 .screen = services.screen},
                {.convertButton = controls.convertButton, .convertDialog = controls.convertDialog}),
      schedule({.clock = services.clock,
                .files = services.files,
                .messages = services.messages,
                .windows = services.windows,
                .pictures = pictures,
                .screen = services.screen},
               scheduleControls,
               {.scheduleButton = controls.scheduleButton,
                .scheduleCaptionLabel = controls.scheduleCaptionLabel,
                .scheduleTimeLabel = controls.scheduleTimeLabel,
                .scheduleStartTimer = controls.scheduleStartTimer},
               recorder),
      services_(services), controls_(controls),
      minimizeButton_(pictures, services.screen, controls.minimizeButton, kMinimizeButtonLayout,
                      [this] { services_.windows.minimizePanel(); }),
      closeButton_(pictures, services.screen, controls.closeButton, kCloseButtonLayout, [this] { close(); }) {
    choices.setTakeCommands(recorder);
}

std::optional<std::string> Panel::load() {
    controls_.copyrightLabel.setCaption(std::string("\u00A9") + kShortName);
    controls_.versionLabel.setCaption(kVersionText);
    schedule.load();
    choices.load();
    if (auto failure = showPictures()) return failure;
    services_.windows.setPanelOutline(panelOutline(services_.screen, 1.0f, 1.0f, 0, 0));
    recorder.load();
    return std::nullopt;
}

void Panel::finishStartUp() {
    registerHotkeys();
    services_.hotkeys.setHotkeyHandler([this](int id) { onHotkey(id); });
    services_.hotkeys.setRefusalHandler([this](const std::vector<int>& ids) { onHotkeysRefused(ids); });
    services_.hotkeys.setChangeHandler([this] { showHotkeysInToolTip(); });
    recorder.recoverLeftoverTakes();
    choices.lookAtInputs();
}

std::optional<std::string> Panel::showPictures() {
    const Result<Picture> skin = pictures.loadBitmap("mrskin");
    if (!skin) return pictureFailure("mrskin", skin.error());
    services_.windows.setPanelBackground(*skin);
    const Result<Picture> recordUp = pictures.loadBitmap("recordbuttonup");
    if (!recordUp) return pictureFailure("recordbuttonup", recordUp.error());
    controls_.recordButton.setPicture(*recordUp);
    const std::pair<PictureButton*, int> buttons[] = {
        {&controls_.stopButton, kStopButtonLayout.releasedPicture},
        {&controls_.playButton, kPlayButtonLayout.releasedPicture},
        {&controls_.scheduleButton, kScheduleButtonLayout.releasedPicture},
        {&controls_.convertButton, kConvertButtonLayout.releasedPicture},
        {&controls_.closeButton, kCloseButtonLayout.releasedPicture},
        {&controls_.minimizeButton, kMinimizeButtonLayout.releasedPicture}};
    for (const auto& [button, id] : buttons) {
        const Result<Picture> picture = pictures.loadCustomPicture(id);
        // A picture the program does not carry leaves its button empty; one it cannot read stops.
        if (!picture && picture.error() != ResourceError::missing)
            return pictureFailure(std::to_string(id), picture.error());
        button->setPicture(picture ? *picture : Picture{});
    }
    return std::nullopt;
}

void Panel::registerHotkeys() {
    for (const PanelHotkey& hotkey : panelHotkeys()) {
        Hotkey listed = hotkey.hotkey;
        listed.description = translated(listed.description.c_str()); // the desktop lists it in the user's words
        hotkeysRegistered_[static_cast<std::size_t>(hotkey.hotkey.id)] = !services_.hotkeys.registerHotkey(listed);
    }
    reportHotkeyFailures();
}

// A refusal after start-up (the user declined the desktop's question) is told like a failed
// registration; the hotkey is then not released at unload.
void Panel::onHotkeysRefused(const std::vector<int>& ids) {
    bool lost = false;
    for (const int id : ids) {
        if (id < 0 || id >= kPanelHotkeys) continue;
        lost = lost || hotkeysRegistered_[static_cast<std::size_t>(id)];
        hotkeysRegistered_[static_cast<std::size_t>(id)] = false;
    }
    if (lost) reportHotkeyFailures();
}

void Panel::reportHotkeyFailures() {
    showHotkeysInToolTip();
    std::string failure = hotkeyFailureMessage(hotkeysRegistered_);
    if (failure.empty()) return;
    if (const std::string place = services_.hotkeys.keysSettingsPlace(); !place.empty())
        failure = translated("%s\n\nThe desktop sets the keys of Murmora's hotkeys in %s.", {failure, place});
    services_.messages.show(failure, MessageStyle::critical, translated(kHotkeyAssignTitle));
}

void Panel::showHotkeysInToolTip() {
    const Hotkeys& hotkeys = services_.hotkeys;
    if (!hotkeys.global()) return choices.setHotkeysLine(translated(kNoGlobalHotkeys));
    std::string uses;
    for (const PanelHotkey& hotkey : panelHotkeys())
        if (hotkeysRegistered_[static_cast<std::size_t>(hotkey.hotkey.id)])
            uses += (uses.empty() ? "" : ", ") +
                    translated(hotkey.toolTipUse, {keysInUsersWords(hotkeys.keysOf(hotkey.hotkey))});
    choices.setHotkeysLine(uses.empty() ? uses : translated("Hotkeys: %s", {uses}));
}

void Panel::onHotkey(int id) {
    if (id == kRecordHotkey) recorder.onRecordHotkey();
    if (id == kStopHotkey) recorder.onStopHotkey();
    if (id == kPauseHotkey) recorder.onPauseHotkey();
}

void Panel::close() {
    recorder.askBeforeClosing([this] { end(true); });
}

void Panel::onSystemClose() {
    if (!ending_) recorder.askBeforeClosing([this] { end(false); });
}

void Panel::onSessionEnd() {
    if (!ending_) end(false);
}

void Panel::end(bool unloadScheduleWindow) {
    ending_ = true;
    schedule.disarm();
    recorder.shutDown();
    if (unloadScheduleWindow) services_.windows.unloadScheduleWindow();
    unload();
    services_.windows.endProgram();
}

void Panel::unload() {
    player.stop();
    for (const PanelHotkey& hotkey : panelHotkeys())
        if (hotkeysRegistered_[static_cast<std::size_t>(hotkey.hotkey.id)])
            services_.hotkeys.unregisterHotkey(hotkey.hotkey.id);
}

} // namespace murmora
