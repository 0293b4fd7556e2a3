#include "shell/shaped_form.h"

#include "recording/mci_commands.h"
#include "shell/shape_region.h"

namespace murmora {

namespace {

const char* const HotkeyAssignTitle = "Hotkey Assign";
constexpr unsigned VK_R = 0x52;
constexpr unsigned VK_S = 0x53;

// The one message that tells the user which hotkeys could not be had, or none.
const char* HotkeyFailureMessage(bool recordRegistered, bool stopRegistered) {
    if (recordRegistered && stopRegistered) return nullptr;
    if (recordRegistered) return "Can not register Hotkey Cntl+Alt+S to Stop Recording";
    if (stopRegistered) return "Can not register Hotkey Cntl+Alt+R to Record";
    return "Can not register Hotkeys Cntl+Alt+R and Cntl+Alt+S";
}

} // namespace

ShapedForm::ShapedForm(Platform& os, MainControls& ui, Form2Controls& form2Controls)
    : ctx{os, ui, form2Controls, {}, {}},
      pictures(os.resources, os.files),
      recording(ctx, pictures),
      playback(ctx),
      conversion(ctx),
      trigger(ctx, pictures),
      form2(ctx, pictures, trigger),
      SeeThroughMin(pictures, ui.SeeThroughMin, ctx.m.MinButtonState, SeeThroughMinLayout),
      SeeThroughClose(pictures, ui.SeeThroughClose, ctx.m.CloseButtonState, SeeThroughCloseLayout),
      SeeThroughCut(pictures, ui.SeeThroughCut, ctx.m.CutButtonState, SeeThroughCutLayout),
      SeeThroughWav(pictures, ui.SeeThroughWav, ctx.m.WavButtonState, SeeThroughWavLayout),
      SeeThroughPlay(pictures, ui.SeeThroughPlay, ctx.m.PlayButtonState, SeeThroughPlayLayout),
      SeeThroughTime(pictures, ui.SeeThroughTime, ctx.m.TimeButtonState, SeeThroughTimeLayout) {
    ConnectControls();
}

std::optional<std::string> ShapedForm::FormLoad() {
    auto& ui = ctx.ui;
    ctx.m.AutoRecording = false;
    ctx.mod.LastSaveScheduled = false;
    ui.Label3.setCaption(std::string("\u00A9") + ShortName);
    ui.Label4.setCaption(VersionText);

    form2.FormLoad();
    ctx.form2.Text8.setText(form2.DefaultTargetPath());
    ctx.form2.VScroll1.setValue(1);
    ctx.form2.VScroll2.setValue(0);
    ctx.form2.VScroll3.setValue(0);
    ctx.form2.VScroll4.setValue(1);
    ctx.form2.VScroll5.setValue(0);
    ctx.form2.VScroll6.setValue(1);
    ctx.form2.VScroll7.setValue(0);

    if (auto failure = ShowReleasedPictures()) return failure;

    ctx.m.RecordingState = RecorderIdle;
    MakeShapeRegion(ctx.os.regions, ctx.os.screen, ctx.m.ShapeRegion, 1.0f, 1.0f, 0, 0);
    ctx.os.windows.setPanelOutline(*ctx.os.regions.find(ctx.m.ShapeRegion));

    ui.Timer1.setEnabled(false);
    ui.Timer2.setEnabled(false);
    ui.Timer3.setEnabled(false);
    ctx.m.RecordSeconds = 0;
    ui.Label1.setLeft(10);
    ui.Label2.setLeft(10);
    ui.Label1.setCaption("");
    ui.Label2.setCaption("");
    ui.Label5.setCaption("");
    ui.Label6.setCaption("");

    RegisterHotkeys();
    ctx.os.hotkeys.setHotkeyHandler([this](int id) { HotkeyDispatch(id); });
    recording.RecoverLeftoverTakes();
    return std::nullopt;
}

std::optional<std::string> ShapedForm::ShowReleasedPictures() {
    auto failure = [](const std::string& name, const std::error_code& error) {
        return "Its picture " + name + " cannot be shown: " + error.message() + ".";
    };
    const Result<Picture> skin = pictures.loadBitmap("mrskin");
    if (!skin) return failure("mrskin", skin.error());
    ctx.os.windows.setPanelBackground(*skin);
    const Result<Picture> recordUp = pictures.loadBitmap("recordbuttonup");
    if (!recordUp) return failure("recordbuttonup", recordUp.error());
    ctx.ui.PictureRecord.setPicture(*recordUp);
    const std::pair<PictureButton*, std::int32_t> buttons[] = {
        {&ctx.ui.SeeThroughCut, SeeThroughCutLayout.normalPicture},
        {&ctx.ui.SeeThroughPlay, SeeThroughPlayLayout.normalPicture},
        {&ctx.ui.SeeThroughTime, SeeThroughTimeLayout.normalPicture},
        {&ctx.ui.SeeThroughWav, SeeThroughWavLayout.normalPicture},
        {&ctx.ui.SeeThroughClose, SeeThroughCloseLayout.normalPicture},
        {&ctx.ui.SeeThroughMin, SeeThroughMinLayout.normalPicture}};
    for (const auto& [button, id] : buttons) {
        const Result<Picture> picture = pictures.loadCustomPicture(id);
        // A picture the program does not carry leaves its button empty; one it cannot read stops.
        if (!picture && picture.error() != ResourceError::missing) return failure(std::to_string(id), picture.error());
        button->setPicture(picture ? *picture : Picture{});
    }
    return std::nullopt;
}

void ShapedForm::RegisterHotkeys() {
    auto& hotkeys = ctx.os.hotkeys;
    ctx.mod.HotkeyRecordRegistered = !hotkeys.registerHotkey(0, kAltModifier | kControlModifier, VK_R);
    ctx.mod.HotkeyStopRegistered = !hotkeys.registerHotkey(1, kAltModifier | kControlModifier, VK_S);
    if (const char* failure = HotkeyFailureMessage(ctx.mod.HotkeyRecordRegistered, ctx.mod.HotkeyStopRegistered)) {
        ctx.os.messages.show(failure, MessageStyle::critical, HotkeyAssignTitle);
    }
}

void ShapedForm::HotkeyDispatch(int id) {
    if (id == 0) Command1Click();
    if (id == 1) Command2Click();
}

void ShapedForm::CloseAction() {
    pictures.showCustomPicture(ctx.ui.SeeThroughClose, SeeThroughCloseLayout.normalPicture);
    ctx.m.CloseButtonState = ButtonReleased;
    ctx.ui.Timer1.setEnabled(false);
    ctx.ui.Timer2.setEnabled(false);
    ctx.ui.Timer3.setEnabled(false);
    if (ctx.m.RecordingState == RecorderBusy) {
        SendCaptureCommand(ctx, "stop capture");
        SendCaptureCommand(ctx, "close capture");
    }
    std::int16_t cancel = 0;
    form2.QueryUnload(cancel, vbFormCode);
    ctx.os.windows.unloadScheduleWindow();
    FormUnload();
    ctx.os.windows.endProgram();
}

void ShapedForm::FormUnload() {
    ctx.os.regions.remove(ctx.m.ShapeRegion);
    StopAndClosePlayback(ctx);
    if (ctx.mod.HotkeyRecordRegistered) ctx.os.hotkeys.unregisterHotkey(0);
    if (ctx.mod.HotkeyStopRegistered) ctx.os.hotkeys.unregisterHotkey(1);
}

void ShapedForm::MinimizeAction() {
    pictures.showCustomPicture(ctx.ui.SeeThroughMin, SeeThroughMinLayout.normalPicture);
    ctx.m.MinButtonState = ButtonReleased;
    ctx.os.windows.minimizePanel();
}

void ShapedForm::ConnectControls() {
    ConnectImageButton(ctx.ui.SeeThroughMin, SeeThroughMin, &ShapedForm::MinimizeAction);
    ConnectImageButton(ctx.ui.SeeThroughClose, SeeThroughClose, &ShapedForm::CloseAction);
    ConnectImageButton(ctx.ui.SeeThroughWav, SeeThroughWav, &ShapedForm::ConvertAction);
    ConnectImageButton(ctx.ui.SeeThroughPlay, SeeThroughPlay, &ShapedForm::PlayAction);
    ConnectImageButton(ctx.ui.SeeThroughTime, SeeThroughTime, &ShapedForm::OpenScheduleWindow);
    ConnectCutButton();
    ctx.ui.PictureRecord.setMouseHandlers({
        [this](int, float, float) { recording.PictureRecordMouseDown(); },
        [this](int b, float x, float y) { recording.PictureRecordMouseMove(b, x, y); },
        [this](int, float, float) { recording.PictureRecordMouseUp(); },
    });
    ctx.ui.Timer1.setTickHandler([this] { recording.Timer1Tick(); });
    ctx.ui.Timer2.setTickHandler([this] { trigger.Timer2Tick(); });
    ctx.ui.Timer3.setTickHandler([this] { recording.Timer3Tick(); });
}

void ShapedForm::ConnectImageButton(PictureButton& control, ImageButtonBehaviour& behaviour,
                                    void (ShapedForm::*action)()) {
    control.setMouseHandlers({
        [&behaviour](int b, float x, float y) { behaviour.MouseDown(b, x, y); },
        [&behaviour](int b, float x, float y) { behaviour.MouseMove(b, x, y); },
        [this, &behaviour, action](int b, float x, float y) {
            behaviour.MouseUp(b, x, y, [this, action] { (this->*action)(); });
        },
    });
}

void ShapedForm::ConnectCutButton() {
    // The Cut button follows the mouse only during a take; its release is the stop.
    ctx.ui.SeeThroughCut.setMouseHandlers({
        [this](int b, float x, float y) {
            if (recording.CutButtonActive()) SeeThroughCut.MouseDown(b, x, y);
        },
        [this](int b, float x, float y) {
            if (recording.CutButtonActive()) SeeThroughCut.MouseMove(b, x, y);
        },
        [this](int, float, float) { recording.SeeThroughCutMouseUp(); },
    });
}

} // namespace murmora
