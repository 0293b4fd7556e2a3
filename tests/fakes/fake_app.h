#pragma once
// The whole record panel on fakes: every control, every service and the ShapedForm rules.
#include "platform/regions.h"
#include "platform/screen_metrics.h"
#include "shell/shaped_form.h"
#include "tests/fakes/fake_controls.h"
#include "tests/fakes/fake_platform.h"

namespace murmora::fakes {

class FakeScreen : public ScreenMetrics {
public:
    double twipsPerPixel = 15.0;
    double twipsPerPixelX() const override { return twipsPerPixel; }
    double twipsPerPixelY() const override { return twipsPerPixel; }
};

// "save capture" with the path in quotes, as the rules send it, and the path such a command names.
inline std::string SaveCapture(const std::string& path) { return "save capture \"" + path + "\""; }
inline std::string SavedPath(const std::string& command) { return command.substr(14, command.size() - 15); }

struct FakeApp {
    FakeClock clock;
    FakeMessageBoxes messages;
    FakeMci mci;
    FakeTakeFolder takes;
    FakeFiles files;
    FakeLauncher launcher;
    FakeHotkeys hotkeys;
    FakeResources resources{files};
    FakeEventPump pump;
    FakeWindowHost windows;
    RegionTable regions;
    FakeScreen screen;
    Platform os{clock, messages, mci, takes, files, launcher, hotkeys, resources, pump, windows, regions, screen};

    FakePictureButton PictureRecord;
    FakePictureButton SeeThroughMin, SeeThroughClose, SeeThroughCut, SeeThroughWav, SeeThroughPlay, SeeThroughTime;
    FakeLabel Label1, Label2, Label3, Label4, Label5, Label6;
    FakeTimer Timer1, Timer2, Timer3;
    FakeFileDialog CommonDialog1, CommonDialog2;
    MainControls ui{PictureRecord, SeeThroughMin, SeeThroughClose, SeeThroughCut, SeeThroughWav, SeeThroughPlay,
                    SeeThroughTime, Label1, Label2, Label3, Label4, Label5, Label6,
                    Timer1, Timer2, Timer3, CommonDialog1, CommonDialog2};

    FakeTextBox Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8;
    FakeSpinner VScroll1{1, 12}, VScroll2{0, 59}, VScroll3{0, 59}, VScroll4{1, 2}, VScroll5{0, 9},
        VScroll6{0, 59}, VScroll7{0, 59};
    FakeCheckBox Check1;
    FakeFileDialog Form2Dialog;
    Form2Controls form2{Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8,
                        VScroll1, VScroll2, VScroll3, VScroll4, VScroll5, VScroll6, VScroll7,
                        Check1, Form2Dialog};

    ShapedForm form{os, ui, form2};
    ShapedFormMembers& m = form.ctx.m;
    Module1& mod = form.ctx.mod;

    // A panel that has run its start-up, with nothing sent or shown yet.
    static void Start(FakeApp& app) {
        app.form.FormLoad();
        app.mci.take();
    }
};

} // namespace murmora::fakes
