// Plays FILE through the panel's Play button with the real sound engine, on the offscreen
// platform, and prints the CPU seconds the process used from the press of Play until the
// engine told the end of the playback, and the wall seconds of it: "CPU WALL". Everything the
// action costs is in the process: the panel's event loop, and the engine's reader and device
// threads.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>

#include "bench/bench_panel.h"
#include "playback/player.h"

namespace {

// The file a manual save would have chosen.
struct ChosenTake final : murmora::LatestTake {
    std::string path;
    std::string latestTakePath() const override { return path; }
};

// The panel's engine, which also tells `onEnded` when a playback has ended.
class EndWatch final : public murmora::PlaybackEngine {
public:
    EndWatch(murmora::PlaybackEngine& engine, std::function<void()> onEnded)
        : engine_(engine), onEnded_(std::move(onEnded)) {}
    void setPlaybackEndedHandler(std::function<void(bool lost)> handler) override {
        engine_.setPlaybackEndedHandler([this, handler = std::move(handler)](bool lost) {
            handler(lost);
            onEnded_();
        });
    }
    murmora::Result<murmora::PlaybackLength, murmora::SoundError> openPlayback(const std::string& path) override {
        return engine_.openPlayback(path);
    }
    murmora::SoundError play() override { return engine_.play(); }
    void stopPlayback() override { engine_.stopPlayback(); }

private:
    murmora::PlaybackEngine& engine_;
    std::function<void()> onEnded_;
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
    murmora::qt::QtPanel& panel = bench.panel;
    if (panel.start()) return 1;
    ChosenTake chosen;
    chosen.path = argv[1];
    // The panel's Play button, playing that file, on the panel's engine.
    QEventLoop playing;
    EndWatch engine(bench.engine, [&playing] { playing.quit(); });
    murmora::Player player({engine, panel.files, panel.messages, panel.panel.pictures, panel.screen},
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
    QTest::mouseRelease(play, Qt::LeftButton, {}, middle); // the Play action: the playback starts
    if (!player.isPlaying()) {
        std::fprintf(stderr, "the Play action did not play %s\n", argv[1]);
        return EXIT_FAILURE;
    }
    playing.exec(); // the program's own event loop, until the engine tells the end
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("%.3f %.3f\n", cpu, static_cast<double>(wall.elapsed()) / 1000);
    return EXIT_SUCCESS;
}
