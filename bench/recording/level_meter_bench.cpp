// The panel during a take from the default input, with the real sound service, on the platform
// QT_QPA_PLATFORM names (offscreen unless set). Prints the CPU seconds the process used over
// SECONDS of the take, and those of the panel's own thread: with the input level shown
// ("meter"), or with the panel's level timer stopped once the take has started ("plain"). The
// take is discarded at the end.
// usage: level-meter-bench SECONDS meter|plain
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "bench/bench_panel.h"
#include "bench/offscreen.h"

namespace {

// The CPU seconds the calling thread has used.
double threadCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc == 3 ? argv[2] : "";
    if (mode != "meter" && mode != "plain") {
        std::fprintf(stderr, "usage: %s SECONDS meter|plain\n", argv[0]);
        return EXIT_FAILURE;
    }
    const int seconds = std::atoi(argv[1]);
    QApplication app(murmora::offscreenUnlessTold(argc), argv);
    murmora::BenchPanel bench;
    murmora::qt::QtPanel& panel = bench.panel;
    if (panel.start()) return EXIT_FAILURE;
    // A box (no take could start, the input was lost) would wait for an answer for ever.
    QTimer boxWatch;
    QObject::connect(&boxWatch, &QTimer::timeout, [] {
        if (!QApplication::activeModalWidget()) return;
        QWidget* modal = QApplication::activeModalWidget();
        const auto* box = qobject_cast<QMessageBox*>(modal);
        std::fprintf(stderr, "a box held the take: %s: %s\n", qPrintable(modal->windowTitle()),
                     box ? qPrintable(box->text()) : "");
        std::_Exit(EXIT_FAILURE);
    });
    boxWatch.start(1000);
    murmora::Recorder& recorder = panel.panel.recorder;
    recorder.onRecordHotkey();
    if (recorder.state() != murmora::RecorderState::recording) {
        std::fprintf(stderr, "no take started\n");
        return EXIT_FAILURE;
    }
    if (mode == "plain") panel.window.levelTimer.setEnabled(false);
    QTest::qWait(500); // past the stream's start
    // The program's own event loop, which sleeps until the next event: QTest::qWait would poll.
    QEventLoop take;
    QTimer::singleShot(seconds * 1000, &take, &QEventLoop::quit);
    const std::clock_t before = std::clock();
    const double panelBefore = threadCpuSeconds();
    take.exec();
    const double cpu = static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
    const double panelCpu = threadCpuSeconds() - panelBefore;
    const bool barShown = panel.window.findChild<QWidget*>(QStringLiteral("levelBar"))->isVisible();
    bench.engine.discardTake(); // else it stays for the next start to recover
    recorder.shutDown();
    std::printf("%.3f %.3f\n", cpu, panelCpu);
    if (barShown == (mode == "meter")) return EXIT_SUCCESS;
    std::fprintf(stderr, "the level bar %s\n", barShown ? "showed without the meter" : "did not show");
    return EXIT_FAILURE;
}
