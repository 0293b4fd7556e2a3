// The panel's resident memory over many takes, each recorded for a moment from the default input
// with the real sound service and then saved ("save": a name typed in the save dialog, under
// FOLDER) or not ("cancel": the dialog cancelled), the boxes that follow answered with OK; on
// the platform QT_QPA_PLATFORM names (offscreen unless set). Prints, on one line:
//   TAKES RSS_AFTER_FIRST RSS_AFTER_LAST HEAP_AFTER_FIRST HEAP_AFTER_LAST
// the number of takes measured, and the resident memory and the heap in use of the panel's
// thread in KiB once the first WARMUP takes have ended (what Qt makes once, on first use) and
// once the last has.
// usage: save-memory-bench save|cancel TAKES FOLDER [WARMUP]
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "bench/bench_panel.h"
#include "bench/offscreen.h"

namespace {

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

// Answers the dialogs of a take's end as the user would: the save dialog with a new name in
// `folder` (or Cancel), every box with OK.
class DialogAnswers {
public:
    DialogAnswers(bool save, QString folder) : save_(save), folder_(std::move(folder)) {
        QObject::connect(&watch_, &QTimer::timeout, [this] { answer(); });
        watch_.start(10);
    }
    int boxes() const { return boxes_; }

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!save_) {
                dialog->reject();
                return;
            }
            dialog->selectFile(QStringLiteral("%1/take-%2.wav").arg(folder_).arg(++saved_));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection); // as its Save button does
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++boxes_;
            box->accept();
        }
    }

    bool save_;
    QString folder_;
    int saved_ = 0;
    int boxes_ = 0;
    QTimer watch_;
};

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc >= 4 ? argv[1] : "";
    if (mode != "save" && mode != "cancel") {
        std::fprintf(stderr, "usage: %s save|cancel TAKES FOLDER [WARMUP]\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int takes = std::atoi(argv[2]);
    const int warmup = argc >= 5 ? std::atoi(argv[4]) : 5;
    QApplication app(murmora::offscreenUnlessTold(argc), argv);
    murmora::BenchPanel bench;
    murmora::qt::QtPanel& panel = bench.panel;
    if (panel.start()) return EXIT_FAILURE;
    if (!QTest::qWaitForWindowExposed(&panel.window)) return EXIT_FAILURE;
    DialogAnswers answers(mode == "save", QString::fromLocal8Bit(argv[3]));
    murmora::Recorder& recorder = panel.panel.recorder;
    long early = 0;
    long earlyHeap = 0;
    for (int take = 1; take <= takes; ++take) {
        recorder.onRecordHotkey();
        if (recorder.state() != murmora::RecorderState::recording) {
            std::fprintf(stderr, "take %d did not start\n", take);
            return EXIT_FAILURE;
        }
        QTest::qWait(200);
        recorder.onStopHotkey(); // the dialog and the boxes run in here, answered by the watch
        QEventLoop settled;      // a save on the worker ends by an event
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (recorder.state() == murmora::RecorderState::idle) settled.quit();
        });
        check.start(5);
        settled.exec();
        if (take == warmup) {
            early = residentKiB();
            earlyHeap = static_cast<long>(mallinfo2().uordblks / 1024);
        }
    }
    const long late = residentKiB();
    recorder.shutDown();
    const auto lateHeap = static_cast<long>(mallinfo2().uordblks / 1024);
    std::printf("%d %ld %ld %ld %ld\n", takes - warmup, early, late, earlyHeap, lateHeap);
    return answers.boxes() >= takes ? EXIT_SUCCESS : EXIT_FAILURE;
}
