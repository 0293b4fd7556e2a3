// The panel, on the offscreen platform with the real sound engine, while the sound server fails
// under a take. Prints one figure:
//   stall PID...:  the server's processes are stopped (SIGSTOP) 2 s into a take and Stop is
//                  pressed; prints the longest time the event loop did not run until the take
//                  has been dealt with (its box answered, its save dialog cancelled), in ms.
//   loss PID...:   the server's processes are killed 2 s into a take; prints the ms until the
//                  panel shows its message.
//   freeze PID...: the same with the server's processes stopped (SIGSTOP) rather than killed;
//                  they go on at the end.
// Every box and dialog is answered (the save dialog is cancelled).
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "bench/bench_panel.h"
#include "bench/offscreen.h"

namespace {

void click(QWidget* widget) {
    QTest::mousePress(widget, Qt::LeftButton, {}, widget->rect().center());
    QTest::mouseRelease(widget, Qt::LeftButton, {}, widget->rect().center());
}

void signalAll(const std::vector<pid_t>& pids, int signal) {
    for (pid_t pid : pids)
        ::kill(pid, signal);
}

// Answers whatever modal window is open: boxes are accepted, dialogs cancelled.
void answerModals(QTimer& answerer) {
    answerer.setInterval(50);
    QObject::connect(&answerer, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal))
            dialog->reject();
        else if (auto* box = qobject_cast<QMessageBox*>(modal))
            box->accept();
    });
    answerer.start();
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode != "stall" && mode != "loss" && mode != "freeze") {
        std::fprintf(stderr, "usage: %s stall|loss|freeze PID...\n", argv[0]);
        return EXIT_FAILURE;
    }
    std::vector<pid_t> server;
    for (int i = 2; i < argc; ++i)
        server.push_back(static_cast<pid_t>(std::atoi(argv[i])));
    QApplication app(murmora::offscreenUnlessTold(argc), argv);
    murmora::BenchPanel bench;
    murmora::qt::QtPanel& panel = bench.panel;
    if (panel.start()) return 1;

    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0, killed = 0;
    QTimer loop; // runs as often as the event loop lets it
    loop.setInterval(1);
    QObject::connect(&loop, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    QTimer answerer;
    QTimer told;
    QTimer dealtWith;

    QTimer::singleShot(0, [&] { click(panel.window.recordButton); });
    QTimer::singleShot(2000, [&] {
        if (mode == "stall") {
            signalAll(server, SIGSTOP);
            last = clock.elapsed();
            loop.start();
            answerModals(answerer);
            click(panel.window.stopButton);
            dealtWith.setInterval(50);
            QObject::connect(&dealtWith, &QTimer::timeout, [&] {
                if (panel.panel.recorder.state() != murmora::RecorderState::idle) return;
                dealtWith.stop();
                loop.stop();
                signalAll(server, SIGCONT);
                std::printf("longest stall %lld ms\nstop_stall_ms=%lld\n", static_cast<long long>(longest),
                            static_cast<long long>(longest));
                QApplication::quit();
            });
            dealtWith.start();
            return;
        }
        signalAll(server, mode == "loss" ? SIGKILL : SIGSTOP);
        killed = clock.elapsed();
        told.setInterval(5);
        QObject::connect(&told, &QTimer::timeout, [&] {
            if (!QApplication::activeModalWidget()) return;
            told.stop();
            const auto toldAfter = static_cast<long long>(clock.elapsed() - killed);
            const char* how = mode == "loss" ? "killed" : "stopped";
            std::printf("told %lld ms after the server was %s\ntold_%s_ms=%lld\n", toldAfter, how, how, toldAfter);
            answerModals(answerer);
            QTimer::singleShot(500, [&] {
                signalAll(server, SIGCONT);
                QApplication::quit();
            });
        });
        told.start();
    });
    return QApplication::exec();
}
