#pragma once
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/mci_service.h"
#include "platform/process_launcher.h"
#include "platform/resources.h"
#include "platform/take_folder.h"
#include "platform/window_host.h"
#include "shell/shared_state.h"

namespace murmora {

class Regions;
class ScreenMetrics;

// The services of the machine the rules use.
struct Platform {
    Clock& clock;
    MessageBoxes& messages;
    MciService& mci;
    TakeFolder& takes;
    Files& files;
    ProcessLauncher& launcher;
    Hotkeys& hotkeys;
    Resources& resources;
    EventPump& pump;
    WindowHost& windows;
    Regions& regions;
    ScreenMetrics& screen;
};

// The controls of the main window ShapedForm.
struct MainControls {
    PictureButton& PictureRecord;
    PictureButton& SeeThroughMin;
    PictureButton& SeeThroughClose;
    PictureButton& SeeThroughCut;
    PictureButton& SeeThroughWav;
    PictureButton& SeeThroughPlay;
    PictureButton& SeeThroughTime;
    Label& Label1;
    Label& Label2;
    Label& Label3;
    Label& Label4;
    Label& Label5;
    Label& Label6;
    Timer& Timer1;
    Timer& Timer2;
    Timer& Timer3;
    FileDialog& CommonDialog1;
    FileDialog& CommonDialog2;
};

// The controls of the schedule window Form2 that the rules read and write.
struct Form2Controls {
    TextBox& Text1;
    TextBox& Text2;
    TextBox& Text3;
    TextBox& Text4;
    TextBox& Text5;
    TextBox& Text6;
    TextBox& Text7;
    TextBox& Text8;
    Spinner& VScroll1;
    Spinner& VScroll2;
    Spinner& VScroll3;
    Spinner& VScroll4;
    Spinner& VScroll5;
    Spinner& VScroll6;
    Spinner& VScroll7;
    CheckBox& Check1;
    FileDialog& CommonDialog1;
};

// Everything a handler works on: the machine, both windows' controls and the shared state.
struct Context {
    Platform& os;
    MainControls& ui;
    Form2Controls& form2;
    ShapedFormMembers m;
    Module1 mod;
};

inline const char* const AppTitle = "Murmora";
// The one filter of every file dialog; the dialogs match it without regard to case.
inline const char* const WavFileFilter = "Wav File (*.Wav)|*.Wav";

} // namespace murmora
