#pragma once
// The whole program with the real MCI service, its windows offscreen, its dialogs answered in-process.
#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sndfile.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/qt_panel.h"
#include "platform/mci/make_mci_service.h"
#include "platform/mci_service.h"
#include "tests/support/fake_platform.h"

namespace murmora::e2e {

// What `sox FILE -n remix 1 stat` says of the first channel; `report` is sox's own words.
struct SoundReading {
    double seconds = 0, rms = 0, frequency = 0;
    std::string report;
};
struct ProcessResult {
    int exitCode = -1; // also when the program did not start or end in time
    QString output;    // standard output and error, merged
};
struct WavFacts {
    long long frames = 0;
    int rate = 0, channels = 0;
    bool pcm16 = false;
};

inline ProcessResult runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 60000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        return {-1, program + " did not start or end: " + process.errorString()};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// A WAV file of the test microphone's kind (44,100 Hz, 16-bit stereo, 440 Hz at -9 dBFS), made by sox.
inline ProcessResult makeTone(const QString& path, const QString& seconds) {
    return runProgram(
        "sox", {"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", path, "synth", seconds, "sine", "440", "vol", "0.5"});
}

inline std::optional<SoundReading> readSound(const QString& file) {
    const ProcessResult sox = runProgram("sox", {file, "-n", "remix", "1", "stat"});
    const auto value = [&](const char* name) {
        const auto match = QRegularExpression(QStringLiteral("^%1:\\s*(-?[0-9.]+)").arg(QLatin1String(name)),
                                              QRegularExpression::MultilineOption)
                               .match(sox.output);
        return match.hasMatch() ? std::optional(match.captured(1).toDouble()) : std::nullopt;
    };
    const auto seconds = value("Length \\(seconds\\)"), rms = value("RMS     amplitude"),
               frequency = value("Rough   frequency");
    if (sox.exitCode != 0 || !seconds || !rms || !frequency) return std::nullopt;
    return SoundReading{*seconds, *rms, *frequency, sox.output.toStdString()};
}

// At least `minSeconds` of the test microphone's tone: about 440 Hz at -9 dBFS.
inline testing::AssertionResult holdsTheTone(const std::optional<SoundReading>& sound, double minSeconds) {
    if (!sound) return testing::AssertionFailure() << "sox could not read the file";
    const bool tone = sound->frequency >= 440 * 0.97 && sound->frequency <= 440 * 1.03;
    const bool level = sound->rms > 0.30 && sound->rms < 0.40;
    if (tone && level && sound->seconds >= minSeconds) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "not " << minSeconds << " s or more of 440 Hz at RMS ~0.354:\n"
                                       << sound->report;
}

inline std::optional<WavFacts> readWavFacts(const QString& file) {
    SF_INFO info{};
    SNDFILE* sound = sf_open(QFile::encodeName(file).constData(), SFM_READ, &info);
    if (!sound) return std::nullopt;
    sf_close(sound);
    return WavFacts{info.frames, info.samplerate, info.channels, (info.format & SF_FORMAT_SUBMASK) == SF_FORMAT_PCM_16};
}

// Answers the program's modal windows, one step per window in order, each answer in an event of
// its own. A window no step expects, or one still open 5 s after its answer, is closed and reported.
class ModalScript {
public:
    using Matches = std::function<bool(QWidget*)>;
    using Answer = std::function<void(QWidget*)>;

    ModalScript() {
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, [this] { poll(); });
        poll_.start();
    }

    void expect(std::string what, Matches matches, Answer answer) {
        steps_.push_back({std::move(what), std::move(matches), std::move(answer)});
    }

    // The file dialog titled `title`: the whole path typed into its name box, then accepted.
    void expectFileDialog(const QString& title, const QString& path) {
        expect(
            "file dialog \"" + title.toStdString() + "\"",
            [title](QWidget* window) { return qobject_cast<QFileDialog*>(window) && window->windowTitle() == title; },
            [path](QWidget* window) {
                window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog*>(window)->accept();
            });
    }

    // A message box titled "Murmora": its text goes to `text`, then OK.
    void expectMessage(QString* text) {
        expect(
            "message box",
            [](QWidget* window) { return qobject_cast<QMessageBox*>(window) && window->windowTitle() == "Murmora"; },
            [text](QWidget* window) {
                auto* box = qobject_cast<QMessageBox*>(window);
                *text = box->text();
                box->button(QMessageBox::Ok)->click();
            });
    }

    bool waitDone(int timeoutMs) {
        return QTest::qWaitFor([this] { return steps_.empty(); }, timeoutMs);
    }

    std::vector<std::string> problems() const {
        std::vector<std::string> problems = unexpected_;
        for (const Step& step : steps_)
            problems.push_back("never shown: the " + step.what);
        return problems;
    }

private:
    struct Step {
        std::string what;
        Matches matches;
        Answer answer;
    };

    void poll() {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || !window->isVisible()) return;
        // A slow save shows its progress until it is done; nobody answers it.
        if (qobject_cast<QProgressDialog*>(window)) return;
        if (window == lastSeen_) {
            if (sinceAnswer_.elapsed() > 5000) dismiss(window, "still open after its answer: ");
            return;
        }
        const bool answeredBefore = std::find(answered_.begin(), answered_.end(), window) != answered_.end();
        const bool expected = !steps_.empty() && steps_.front().matches(window);
        // A window answered earlier shows again between the windows it opened: wait for the next.
        if (answeredBefore && !expected) return;
        lastSeen_ = window;
        sinceAnswer_.start();
        if (!expected) {
            return dismiss(window,
                           steps_.empty() ? std::string("unasked ") : "instead of the " + steps_.front().what + ": ");
        }
        Answer answer = std::move(steps_.front().answer);
        steps_.pop_front();
        answered_.push_back(window);
        QTimer::singleShot(0, window, [answer, window] { answer(window); });
    }

    void dismiss(QWidget* window, const std::string& why) {
        const auto* box = qobject_cast<const QMessageBox*>(window);
        unexpected_.push_back(why + "\"" + window->windowTitle().toStdString() + "\" " +
                              (box ? box->text().toStdString() : ""));
        lastSeen_ = nullptr;
        QTimer::singleShot(0, window, [window] {
            if (auto* dialog = qobject_cast<QDialog*>(window)) return dialog->done(QDialog::Rejected);
            window->close();
        });
    }

    std::deque<Step> steps_;
    std::vector<std::string> unexpected_;
    std::vector<QPointer<QWidget>> answered_;
    QPointer<QWidget> lastSeen_;
    QElapsedTimer sinceAnswer_;
    QTimer poll_;
};

// Hotkeys come from a stand-in: offscreen there is no X server to grab keys on.
class RealPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        mci = makeMciService();
        takes = makeTakeFolder();
        panel = std::make_unique<QtPanel>(*mci, *takes, hotkeys);
        modals = std::make_unique<ModalScript>();
        ASSERT_EQ(panel->start(), std::nullopt);
    }

    void TearDown() override {
        if (!panel) return;
        for (const std::string& problem : modals->problems())
            ADD_FAILURE() << "modal window: " << problem;
        panel->scheduleDialog.hide();
        panel->window.hide();
    }

    static void click(QWidget* control) {
        QTest::mousePress(control, Qt::LeftButton, {}, control->rect().center());
        QTest::mouseRelease(control, Qt::LeftButton, {}, control->rect().center());
    }

    // Records `takeMs` by hand and saves as `path`; returns the confirmation, secondsLabel's captions go to `secondsShown`.
    QString recordByHand(const QString& path, int takeMs, std::vector<QString>* secondsShown = nullptr) {
        QString confirmation;
        modals->expectFileDialog("Save Recorded File", path);
        modals->expectMessage(&confirmation);
        QTimer sampler;
        sampler.setInterval(50);
        QObject::connect(&sampler, &QTimer::timeout, [this, secondsShown] {
            const QString shown = panel->window.secondsLabel->text();
            if (secondsShown && !shown.isEmpty() && (secondsShown->empty() || secondsShown->back() != shown)) {
                secondsShown->push_back(shown);
            }
        });
        click(panel->window.recordButton);
        EXPECT_TRUE(panel->panel.recorder.isRecording());
        sampler.start();
        QTest::qWait(takeMs);
        sampler.stop();
        click(panel->window.stopButton); // returns once the save dialog and the confirmation are answered
        EXPECT_TRUE(modals->waitDone(10000)) << "the save dialog or the confirmation did not come";
        return confirmation;
    }

    // Presses Play; returns the wall time until the Play action returned. A wait that does not end is stopped and reported.
    qint64 playLatestTake() {
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the Play action was still waiting after 30 s";
            panel->panel.player.stop();
        });
        watchdog.start(30000);
        QElapsedTimer clock;
        clock.start();
        click(panel->window.playButton);
        return clock.elapsed();
    }

    QString scratchPath(const QString& name) const { return folder.filePath(name); }

    static QStringList takesLeft() {
        return QDir(qEnvironmentVariable("XDG_CACHE_HOME") + "/murmora/takes").entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir folder;
    std::unique_ptr<MciService> mci;
    std::unique_ptr<TakeFolder> takes;
    fakes::FakeHotkeys hotkeys;
    std::unique_ptr<QtPanel> panel;
    std::unique_ptr<ModalScript> modals;
};

// Without the test sound server, skipped; in CI (CI=true), failed.
class SoundPanel : public RealPanel {
protected:
    void SetUp() override {
        const ProcessResult info = runProgram("pactl", {"info"}, 10000);
        if (info.exitCode != 0 && qEnvironmentVariable("CI") == "true") FAIL() << info.output.toStdString();
        if (info.exitCode != 0) GTEST_SKIP() << "no sound server: " << info.output.toStdString();
        RealPanel::SetUp();
    }
};

// Records what the default output plays, from its monitor, in small fragments; a fresh monitor
// takes about a second to deliver, so listening counts from its first frames.
class OutputListener {
public:
    explicit OutputListener(QString rawFile) : rawFile_(std::move(rawFile)) {
        recorder_.setStandardOutputFile(rawFile_);
        recorder_.start("parec", {"-d", "@DEFAULT_MONITOR@", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
                                  "--latency-msec=20"});
        started_ =
            recorder_.waitForStarted() && QTest::qWaitFor([this] { return QFileInfo(rawFile_).size() > 0; }, 5000);
    }
    ~OutputListener() {
        if (recorder_.state() == QProcess::NotRunning) return;
        recorder_.kill();
        recorder_.waitForFinished();
    }
    bool started() const { return started_; }

    // The sound heard, from its first to its last audible frame, as a WAV file.
    std::optional<QString> stop() {
        recorder_.terminate();
        if (!recorder_.waitForFinished(5000)) return std::nullopt;
        const QString heard = rawFile_ + ".wav";
        const QStringList trimSilence = QString("silence 1 0.01 1% reverse silence 1 0.01 1% reverse").split(' ');
        const ProcessResult sox = runProgram("sox", QStringList{"-q", "-t", "raw", "-r", "44100", "-c", "2", "-e",
                                                                "signed", "-b", "16", rawFile_, heard} +
                                                        trimSilence);
        if (sox.exitCode != 0) return std::nullopt;
        return heard;
    }

private:
    QString rawFile_;
    QProcess recorder_;
    bool started_ = false;
};

} // namespace murmora::e2e
