#include "app/panel.h"

namespace murmora {

QtPanel::QtPanel(MciService& service, TakeFolder& takes, Hotkeys& hotkeys)
    : mci(service),
      os{clock, messages, mci, takes, files, launcher, hotkeys, resources, pump, windows, regions, screen},
      ui{*window.PictureRecord, *window.SeeThroughMin, *window.SeeThroughClose, *window.SeeThroughCut,
         *window.SeeThroughWav, *window.SeeThroughPlay, *window.SeeThroughTime,
         *window.Label1, *window.Label2, *window.Label3, *window.Label4, *window.Label5, *window.Label6,
         window.Timer1, window.Timer2, window.Timer3, window.CommonDialog1, window.CommonDialog2},
      form2Controls{*form2Window.Text1, *form2Window.Text2, *form2Window.Text3, *form2Window.Text4,
                    *form2Window.Text5, *form2Window.Text6, *form2Window.Text7, *form2Window.Text8,
                    *form2Window.VScroll1, *form2Window.VScroll2, *form2Window.VScroll3, *form2Window.VScroll4,
                    *form2Window.VScroll5, *form2Window.VScroll6, *form2Window.VScroll7,
                    *form2Window.Check1, form2Window.CommonDialog1},
      form(os, ui, form2Controls) {
    ConnectWindows();
}

std::optional<std::string> QtPanel::Start() {
    if (auto failure = form.FormLoad()) return failure;
    window.show();
    return std::nullopt;
}

void QtPanel::ConnectWindows() {
    QObject::connect(window.Command1, &QPushButton::clicked, [this] { form.Command1Click(); });
    QObject::connect(window.Command2, &QPushButton::clicked, [this] { form.Command2Click(); });
    QObject::connect(window.Command3, &QPushButton::clicked, [this] { form.Command3Click(); });
    QObject::connect(window.Command4, &QPushButton::clicked, [this] { form.Command4Click(); });
    // Closed by the window system rather than by its Close button: only the unload sequence
    // runs, and the program ends although the schedule window is still loaded.
    window.onSystemClose = [this] {
        if (windows.programEnding()) return;
        form.FormUnload();
        windows.endProgram();
    };
    QObject::connect(form2Window.Command1, &QPushButton::clicked, [this] { form.form2.Command1Click(); });
    form2Window.onQueryClose = [this] {
        std::int16_t cancel = 0;
        form.form2.QueryUnload(cancel, vbFormControlMenu);
        return cancel != 0;
    };
}

} // namespace murmora
