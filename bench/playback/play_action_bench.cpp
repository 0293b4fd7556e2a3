// Plays FILE through the panel's Play button with the real sound service, on the offscreen
// platform, and prints the CPU seconds the process used during the Play action and its wall
// seconds: "CPU WALL". Everything the action costs is in the process: the wait for the end on
// the user-interface thread, and the service's reader and device threads.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include "bench/bench_panel.h"
#include "playback/player.h"

namespace {

// The file a manual save would have chosen.
struct ChosenTake final : murmora::LatestTake {
    std::string path;
    std::string latestTakePath() const override { return path; }
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.wav\n", argv[0]);
        return EXIT_FAILURE;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    murmora::BenchPanel bench;
    murmora::QtPanel& panel = bench.panel;
    if (panel.start()) return 1;
    ChosenTake chosen;
    chosen.path = argv[1];
    // The panel's Play button, playing that file.
    murmora::Player player({panel.mci, panel.files, panel.messages, panel.pump, panel.panel.pictures},
                           {*panel.window.playButton, *panel.window.secondsLabel, *panel.window.sizeLabel}, chosen);
    // The panel is shown and painted, as it is long before anyone presses Play.
    if (!QTest::qWaitForWindowExposed(&panel.window)) return 1;
    QTest::qWait(500);

    QWidget* play = panel.window.playButton;
    const QPoint middle = play->rect().center();
    QTest::mousePress(play, Qt::LeftButton, {}, middle);
    QElapsedTimer wall;
    const double cpuBefore = cpuSeconds();
    wall.start();
    QTest::mouseRelease(play, Qt::LeftButton, {}, middle); // the Play action, until the end of the file
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("%.3f %.3f\n", cpu, static_cast<double>(wall.elapsed()) / 1000);
    if (panel.window.secondsLabel->text().isEmpty()) {
        std::fprintf(stderr, "the Play action did not play %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
