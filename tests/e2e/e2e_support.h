#pragma once
// The whole program on the real machine for the end-to-end tests: the panel with the real MCI
// service over the sound server, its windows offscreen, its dialogs answered in-process, and
// helpers that look at the sound in files and at the output.
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/panel.h"
#include "platform/mci_service.h"
#include "tests/fakes/fake_platform.h"

class QProcess;

namespace murmora::e2e {

// What `sox FILE -n remix 1 stat` says of the first channel.
struct SoundReading {
    double seconds = 0;
    double rms = 0;
    double frequency = 0;
    std::string report;  // sox's own words, for failure messages
};
std::optional<SoundReading> ReadSound(const QString& file);

// A reading of the test microphone's tone: about 440 Hz at -9 dBFS.
testing::AssertionResult HoldsTheTone(const std::optional<SoundReading>& sound, double minSeconds);

struct ProcessResult {
    int exitCode = -1;  // -1 when the program did not start or did not end in time
    QString output;     // standard output and error, merged
};
ProcessResult RunProgram(const QString& program, const QStringList& arguments, int timeoutMs = 60000);

// A WAV file of the test microphone's kind (44,100 Hz, 16-bit stereo, 440 Hz at -9 dBFS), made by sox.
ProcessResult MakeTone(const QString& path, const QString& seconds);

// Answers the modal windows the program opens, one step per window in the order given.
// Each answer runs in an event of its own, so it may open further modal windows itself.
// A modal window that no step expects is closed and reported, so that no test hangs on it.
class ModalScript {
public:
    using Matches = std::function<bool(QWidget*)>;
    using Answer = std::function<void(QWidget*)>;

    ModalScript();
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    void Expect(std::string what, Matches matches, Answer answer);
    // The file dialog titled `title`: chooses `path` and accepts.
    void ExpectFileDialog(const QString& title, const QString& path);
    // A message box titled "Murmora": its text goes to `text`, then OK.
    void ExpectMessage(QString* text);

    // Waits until every step has been answered; false after `timeoutMs`.
    bool WaitDone(int timeoutMs);
    bool Done() const { return steps_.empty(); }
    // Every modal window that came unasked or did not match its step, and every step left.
    std::vector<std::string> Problems() const;

private:
    struct Step {
        std::string what;
        Matches matches;
        Answer answer;
    };
    void Poll();
    // Closes a window no step answers, and notes why.
    void Dismiss(QWidget* window, const std::string& why);
    // An answered window that is still the open modal window after this long did not take its answer.
    static constexpr qint64 StillOpenMs = 5000;

    std::deque<Step> steps_;
    std::vector<std::string> unexpected_;
    QPointer<QWidget> lastSeen_;
    QElapsedTimer sinceAnswer_;
    QTimer poll_;
};

std::string Describe(const QWidget* window);

// The program with the real sound service, on the offscreen platform, in a scratch folder.
// Hotkeys are granted by a stand-in: the offscreen platform has no X server to grab keys on.
class RealPanel : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Fails in CI, skips elsewhere, when the test sound server cannot be reached.
    void RequireSoundServer();

    // Press and release with the left button in the middle of the control, as a user clicks.
    static void Click(QWidget* control);

    // Presses the record button, waits `takeMs`, stops with the Cut button and saves as `path`
    // in the save dialog. Returns the text of the confirmation box; Label1's captions seen
    // during the take go to `secondsShown`.
    QString RecordByHand(const QString& path, int takeMs, std::vector<QString>* secondsShown = nullptr);

    // Presses Play and returns once the Play action has returned; its wall time goes to `elapsedMs`.
    void PlayLatestTake(qint64* elapsedMs);

    QString Path(const QString& name) const { return folder.filePath(name); }
    // The take files the service keeps while recording; none must stay behind.
    QStringList TakesLeft() const;

    QTemporaryDir folder;
    std::unique_ptr<MciService> mci;
    std::unique_ptr<TakeFolder> takes;
    fakes::FakeHotkeys hotkeys;
    std::unique_ptr<QtPanel> panel;
    std::unique_ptr<ModalScript> modals;
};

// The panel for the tests that record or play: they need the test sound server.
class SoundPanel : public RealPanel {
protected:
    void SetUp() override;
};

// Records what the default output plays, from its monitor, while it lives.
class OutputListener {
public:
    explicit OutputListener(QString rawFile);
    ~OutputListener();
    bool Started() const { return started_; }
    // Stops listening; returns the sound heard, from its first audible frame on, as a WAV file.
    std::optional<QString> Stop();

private:
    QString rawFile_;
    std::unique_ptr<QProcess> recorder_;
    bool started_ = false;
};

// Frames and rate of a WAV file, from soxi.
struct WavFacts {
    long long frames = 0;
    int rate = 0;
    int channels = 0;
    int bits = 0;
};
std::optional<WavFacts> ReadWavFacts(const QString& file);

// The number a "#.0" label shows, before its unit; nothing when the caption is not of that form.
std::optional<double> LabelNumber(const QString& caption, const QString& unit);

} // namespace murmora::e2e
