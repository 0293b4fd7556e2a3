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

void ShapedForm::FormLoad() {
    auto& ui = ctx.ui;
    ctx.m.AutoRecording = false;
    ctx.mod.LastSaveScheduled = false;
    ui.Label3.SetCaption(std::string("\u00A9") + ShortName);
    ui.Label4.SetCaption(VersionText);

    form2.FormLoad();
    ctx.form2.Text8.SetText(form2.DefaultTargetPath());
    ctx.form2.VScroll1.SetValue(1);
    ctx.form2.VScroll2.SetValue(0);
    ctx.form2.VScroll3.SetValue(0);
    ctx.form2.VScroll4.SetValue(1);
    ctx.form2.VScroll5.SetValue(0);
    ctx.form2.VScroll6.SetValue(1);
    ctx.form2.VScroll7.SetValue(0);

    ctx.os.windows.SetBackgroundPicture(ctx.os.resources.LoadResPicture("mrskin"));
    pictures.SetBitmap(ui.PictureRecord, "recordbuttonup");
    pictures.SetButtonPicture(ui.SeeThroughCut, SeeThroughCutLayout.normalPicture);
    pictures.SetButtonPicture(ui.SeeThroughPlay, SeeThroughPlayLayout.normalPicture);
    pictures.SetButtonPicture(ui.SeeThroughTime, SeeThroughTimeLayout.normalPicture);
    pictures.SetButtonPicture(ui.SeeThroughWav, SeeThroughWavLayout.normalPicture);
    pictures.SetButtonPicture(ui.SeeThroughClose, SeeThroughCloseLayout.normalPicture);
    pictures.SetButtonPicture(ui.SeeThroughMin, SeeThroughMinLayout.normalPicture);

    ctx.m.RecordingState = RecorderIdle;
    MakeShapeRegion(ctx.os.regions, ctx.os.screen, ctx.m.ShapeRegion, 1.0f, 1.0f, 0, 0);
    ctx.os.windows.SetWindowRgn(*ctx.os.regions.Find(ctx.m.ShapeRegion), true);

    ui.Timer1.SetEnabled(false);
    ui.Timer2.SetEnabled(false);
    ui.Timer3.SetEnabled(false);
    ctx.m.RecordSeconds = 0;
    ui.Label1.SetLeft(10);
    ui.Label2.SetLeft(10);
    ui.Label1.SetCaption("");
    ui.Label2.SetCaption("");
    ui.Label5.SetCaption("");
    ui.Label6.SetCaption("");

    RegisterHotkeys();
    ctx.os.hotkeys.InstallFilter([this](unsigned long id) { SubclassProc(id); });
    recording.RecoverLeftoverTakes();
}

void ShapedForm::RegisterHotkeys() {
    auto& hotkeys = ctx.os.hotkeys;
    ctx.mod.HotkeyRecordRegistered = hotkeys.RegisterHotKey(0, MOD_ALT | MOD_CONTROL, VK_R);
    ctx.mod.HotkeyStopRegistered = hotkeys.RegisterHotKey(1, MOD_ALT | MOD_CONTROL, VK_S);
    if (const char* failure = HotkeyFailureMessage(ctx.mod.HotkeyRecordRegistered, ctx.mod.HotkeyStopRegistered)) {
        ctx.os.messages.MsgBox(failure, vbCritical, HotkeyAssignTitle);
    }
}

void ShapedForm::SubclassProc(unsigned long hotkeyId) {
    // An id that does not fit 8 bits belongs to nobody.
    if (hotkeyId <= 0xFF) HotkeyDispatch(static_cast<std::uint8_t>(hotkeyId));
}

void ShapedForm::HotkeyDispatch(std::uint8_t id) {
    if (id == 0) Command1Click();
    if (id == 1) Command2Click();
}

void ShapedForm::CloseAction() {
    pictures.SetButtonPicture(ctx.ui.SeeThroughClose, SeeThroughCloseLayout.normalPicture);
    ctx.m.CloseButtonState = ButtonReleased;
    ctx.ui.Timer1.SetEnabled(false);
    ctx.ui.Timer2.SetEnabled(false);
    ctx.ui.Timer3.SetEnabled(false);
    if (ctx.m.RecordingState == RecorderBusy) {
        SendCaptureCommand(ctx, "stop capture");
        SendCaptureCommand(ctx, "close capture");
    }
    ctx.os.windows.UnloadForm1();
    std::int16_t cancel = 0;
    form2.QueryUnload(cancel, vbFormCode);
    ctx.os.windows.UnloadForm2();
    FormUnload();
    ctx.os.windows.EndProgram();
}

void ShapedForm::FormUnload() {
    ctx.os.regions.DeleteObject(ctx.m.ShapeRegion);
    StopAndClosePlayback(ctx);
    if (ctx.mod.HotkeyRecordRegistered) ctx.os.hotkeys.UnregisterHotKey(0);
    if (ctx.mod.HotkeyStopRegistered) ctx.os.hotkeys.UnregisterHotKey(1);
}

void ShapedForm::MinimizeAction() {
    pictures.SetButtonPicture(ctx.ui.SeeThroughMin, SeeThroughMinLayout.normalPicture);
    ctx.m.MinButtonState = ButtonReleased;
    ctx.os.windows.MinimizeMain();
}

void ShapedForm::ConnectControls() {
    ConnectImageButton(ctx.ui.SeeThroughMin, SeeThroughMin, &ShapedForm::MinimizeAction);
    ConnectImageButton(ctx.ui.SeeThroughClose, SeeThroughClose, &ShapedForm::CloseAction);
    ConnectImageButton(ctx.ui.SeeThroughWav, SeeThroughWav, &ShapedForm::ConvertAction);
    ConnectImageButton(ctx.ui.SeeThroughPlay, SeeThroughPlay, &ShapedForm::PlayAction);
    ConnectImageButton(ctx.ui.SeeThroughTime, SeeThroughTime, &ShapedForm::OpenScheduleWindow);
    ConnectCutButton();
    ctx.ui.PictureRecord.SetMouseHandlers({
        [this](int b, int s, float x, float y) { recording.PictureRecordMouseDown(b, s, x, y); },
        [this](int b, int s, float x, float y) { recording.PictureRecordMouseMove(b, s, x, y); },
        [this](int b, int s, float x, float y) { recording.PictureRecordMouseUp(b, s, x, y); },
    });
    ctx.ui.Timer1.SetTickHandler([this] { recording.Timer1Tick(); });
    ctx.ui.Timer2.SetTickHandler([this] { trigger.Timer2Tick(); });
    ctx.ui.Timer3.SetTickHandler([this] { recording.Timer3Tick(); });
}

void ShapedForm::ConnectImageButton(ImageButton& control, ImageButtonBehaviour& behaviour,
                                    void (ShapedForm::*action)()) {
    control.SetMouseHandlers({
        [&behaviour](int b, int s, float x, float y) { behaviour.MouseDown(b, s, x, y); },
        [&behaviour](int b, int s, float x, float y) { behaviour.MouseMove(b, s, x, y); },
        [this, &behaviour, action](int b, int s, float x, float y) {
            behaviour.MouseUp(b, s, x, y, [this, action] { (this->*action)(); });
        },
    });
}

void ShapedForm::ConnectCutButton() {
    // The Cut button follows the mouse only during a take; its release is the stop.
    ctx.ui.SeeThroughCut.SetMouseHandlers({
        [this](int b, int s, float x, float y) {
            if (recording.CutButtonActive()) SeeThroughCut.MouseDown(b, s, x, y);
        },
        [this](int b, int s, float x, float y) {
            if (recording.CutButtonActive()) SeeThroughCut.MouseMove(b, s, x, y);
        },
        [this](int b, int s, float x, float y) { recording.SeeThroughCutMouseUp(b, s, x, y); },
    });
}

} // namespace murmora
