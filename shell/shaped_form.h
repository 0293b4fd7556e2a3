#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "buttons/image_buttons.h"
#include "playback/conversion.h"
#include "playback/playback.h"
#include "recording/recording_session.h"
#include "schedule/schedule_trigger.h"
#include "schedule/schedule_window.h"
#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// The record panel: owner of the shared state, start-up, the Close and Minimize actions,
// the unload sequence, and the wiring of every control to its handler.
class ShapedForm {
public:
    ShapedForm(Platform& os, MainControls& ui, Form2Controls& form2);
    ShapedForm(const ShapedForm&) = delete;
    ShapedForm& operator=(const ShapedForm&) = delete;

    // The start-up sequence; what stopped it, for the user, when a picture the panel cannot do
    // without is missing or unreadable.
    std::optional<std::string> FormLoad();
    void FormUnload();
    void CloseAction();
    void MinimizeAction();

    // Entry points of the hidden command buttons.
    void Command1Click() { recording.Command1Click(); }
    void Command2Click() { recording.Command2Click(); }
    void Command3Click() { playback.Command3Click(); }
    void Command4Click() { playback.Command4Click(); }
    bool IsWavePlaying(const std::string& sAlias) { return playback.IsWavePlaying(sAlias); }

    void HotkeyDispatch(int id);

    Context ctx;
    ResourcePictures pictures;
    RecordingSession recording;
    Playback playback;
    Conversion conversion;
    ScheduleTrigger trigger;
    ScheduleWindow form2;
    ImageButtonBehaviour SeeThroughMin;
    ImageButtonBehaviour SeeThroughClose;
    ImageButtonBehaviour SeeThroughCut;
    ImageButtonBehaviour SeeThroughWav;
    ImageButtonBehaviour SeeThroughPlay;
    ImageButtonBehaviour SeeThroughTime;

private:
    void ConnectControls();
    void ConnectImageButton(PictureButton& control, ImageButtonBehaviour& behaviour, void (ShapedForm::*action)());
    void ConnectCutButton();
    void RegisterHotkeys();
    // Shows the released pictures of the buttons; what stopped it when one cannot be read.
    std::optional<std::string> ShowReleasedPictures();
    void OpenScheduleWindow() { form2.OpenAction(); }
    void PlayAction() { playback.PlayAction(); }
    void ConvertAction() { conversion.ConvertAction(); }
};

// The short name after the copyright sign in Label3.
inline const char* const ShortName = "Murmor";
inline const char* const VersionText = "v 1.1";

} // namespace murmora
