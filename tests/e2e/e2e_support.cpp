#include "tests/e2e/e2e_support.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "platform/mci/make_mci_service.h"

namespace murmora::e2e {

namespace {

const QString Title = QStringLiteral("Murmora");

std::optional<double> StatValue(const QString& report, const QString& name) {
    const QRegularExpression line(QStringLiteral("^%1:\\s*(-?[0-9.]+)").arg(QRegularExpression::escape(name)),
                                  QRegularExpression::MultilineOption);
    const auto match = line.match(report);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toDouble();
}

} // namespace

ProcessResult RunProgram(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForStarted()) {
        result.output = program + QStringLiteral(" did not start: ") + process.errorString();
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = program + QStringLiteral(" did not end in time");
        return result;
    }
    result.output = QString::fromLocal8Bit(process.readAll());
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return result;
}

ProcessResult MakeTone(const QString& path, const QString& seconds) {
    return RunProgram(QStringLiteral("sox"),
                      {QStringLiteral("-q"), QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                       QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-b"), QStringLiteral("16"), path,
                       QStringLiteral("synth"), seconds, QStringLiteral("sine"), QStringLiteral("440"),
                       QStringLiteral("vol"), QStringLiteral("0.5")});
}

std::optional<SoundReading> ReadSound(const QString& file) {
    const ProcessResult sox = RunProgram(QStringLiteral("sox"), {file, QStringLiteral("-n"), QStringLiteral("remix"),
                                                          QStringLiteral("1"), QStringLiteral("stat")});
    const auto seconds = StatValue(sox.output, QStringLiteral("Length (seconds)"));
    const auto rms = StatValue(sox.output, QStringLiteral("RMS     amplitude"));
    const auto frequency = StatValue(sox.output, QStringLiteral("Rough   frequency"));
    if (sox.exitCode != 0 || !seconds || !rms || !frequency) return std::nullopt;
    return SoundReading{*seconds, *rms, *frequency, sox.output.toStdString()};
}

testing::AssertionResult HoldsTheTone(const std::optional<SoundReading>& sound, double minSeconds) {
    if (!sound) return testing::AssertionFailure() << "sox could not read the file";
    const bool tone = sound->frequency >= 440 * 0.97 && sound->frequency <= 440 * 1.03;
    const bool level = sound->rms > 0.30 && sound->rms < 0.40;
    const bool long_enough = sound->seconds >= minSeconds;
    if (tone && level && long_enough) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "not " << minSeconds << " s or more of 440 Hz at RMS ~0.354:\n"
                                       << sound->report;
}

std::string Describe(const QWidget* window) {
    std::string text = "\"" + window->windowTitle().toStdString() + "\"";
    if (const auto* box = qobject_cast<const QMessageBox*>(window)) text += ": " + box->text().toStdString();
    return text;
}

ModalScript::ModalScript() {
    poll_.setInterval(20);
    QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
    poll_.start();
}

ModalScript::~ModalScript() = default;

void ModalScript::Expect(std::string what, Matches matches, Answer answer) {
    steps_.push_back({std::move(what), std::move(matches), std::move(answer)});
}

void ModalScript::ExpectFileDialog(const QString& title, const QString& path) {
    Expect(
        "file dialog \"" + title.toStdString() + "\"",
        [title](QWidget* window) { return qobject_cast<QFileDialog*>(window) && window->windowTitle() == title; },
        [path](QWidget* window) {
            // As the user does: the whole path typed into the name box, then Save or Open.
            auto* name = window->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                ADD_FAILURE() << "the file dialog has no name box";
                return;
            }
            name->setText(path);
            static_cast<QDialog*>(window)->accept();
        });
}

void ModalScript::ExpectMessage(QString* text) {
    Expect(
        "message box", [](QWidget* window) { return qobject_cast<QMessageBox*>(window) && window->windowTitle() == Title; },
        [text](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            *text = box->text();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
                ok->click();
            } else {
                box->accept();
            }
        });
}

void ModalScript::Poll() {
    QWidget* window = QApplication::activeModalWidget();
    if (!window || !window->isVisible()) return;
    if (window == lastSeen_) {
        if (sinceAnswer_.elapsed() > StillOpenMs) Dismiss(window, "still open after its answer: ");
        return;
    }
    lastSeen_ = window;
    sinceAnswer_.start();
    if (steps_.empty() || !steps_.front().matches(window)) {
        Dismiss(window, steps_.empty() ? std::string("unasked ") : "instead of the " + steps_.front().what + ": ");
        return;
    }
    Answer answer = std::move(steps_.front().answer);
    steps_.pop_front();
    // In an event of its own: the answer may open further modal windows while this poll goes on.
    QTimer::singleShot(0, window, [answer, window] { answer(window); });
}

void ModalScript::Dismiss(QWidget* window, const std::string& why) {
    unexpected_.push_back(why + Describe(window));
    lastSeen_ = nullptr;
    QTimer::singleShot(0, window, [window] {
        if (auto* dialog = qobject_cast<QDialog*>(window)) {
            dialog->done(QDialog::Rejected);
        } else {
            window->close();
        }
    });
}

bool ModalScript::WaitDone(int timeoutMs) { return QTest::qWaitFor([this] { return Done(); }, timeoutMs); }

std::vector<std::string> ModalScript::Problems() const {
    std::vector<std::string> problems = unexpected_;
    for (const Step& step : steps_) problems.push_back("never shown: the " + step.what);
    return problems;
}

void RealPanel::SetUp() {
    ASSERT_TRUE(folder.isValid());
    mci = makeMciService();
    takes = makeTakeFolder();
    panel = std::make_unique<QtPanel>(*mci, *takes, hotkeys);
    modals = std::make_unique<ModalScript>();
    panel->Start();
}

void RealPanel::TearDown() {
    if (!panel) return;
    for (const std::string& problem : modals->Problems()) ADD_FAILURE() << "modal window: " << problem;
    panel->form2Window.hide();
    panel->window.hide();
}

void RealPanel::RequireSoundServer() {
    const ProcessResult info = RunProgram(QStringLiteral("pactl"), {QStringLiteral("info")}, 10000);
    if (info.exitCode == 0) return;
    const std::string why = "no sound server at " + qEnvironmentVariable("PULSE_SERVER", "the default address").toStdString() +
                            " (pactl info: " + info.output.trimmed().toStdString() + ")";
    if (qEnvironmentVariable("CI") == QStringLiteral("true")) FAIL() << why;
    GTEST_SKIP() << why;
}

void SoundPanel::SetUp() {
    RequireSoundServer();
    if (IsSkipped() || HasFatalFailure()) return;
    RealPanel::SetUp();
}

void RealPanel::Click(QWidget* control) {
    const QPoint middle = control->rect().center();
    QTest::mousePress(control, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(control, Qt::LeftButton, {}, middle);
}

QString RealPanel::RecordByHand(const QString& path, int takeMs, std::vector<QString>* secondsShown) {
    QString confirmation;
    modals->ExpectFileDialog(QStringLiteral("Save Recorded File"), path);
    modals->ExpectMessage(&confirmation);

    QTimer sampler;
    sampler.setInterval(50);
    QObject::connect(&sampler, &QTimer::timeout, [this, secondsShown] {
        const QString shown = panel->window.Label1->text();
        if (secondsShown && !shown.isEmpty() && (secondsShown->empty() || secondsShown->back() != shown)) {
            secondsShown->push_back(shown);
        }
    });

    Click(panel->window.PictureRecord);
    EXPECT_EQ(panel->form.ctx.m.RecordingState, RecorderBusy) << "the record button did not start a take";
    sampler.start();
    QTest::qWait(takeMs);
    sampler.stop();
    Click(panel->window.SeeThroughCut);  // returns once the save dialog and the confirmation are answered
    EXPECT_TRUE(modals->WaitDone(10000)) << "the save dialog or the confirmation did not come";
    return confirmation;
}

void RealPanel::PlayLatestTake(qint64* elapsedMs) {
    QElapsedTimer clock;
    // The wait must end by itself; should it not, stop the device so the test can report it.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
        ADD_FAILURE() << "the Play action was still waiting after 30 s";
        panel->window.Command3->click();
    });
    watchdog.start(30000);
    clock.start();
    Click(panel->window.SeeThroughPlay);
    *elapsedMs = clock.elapsed();
}

QStringList RealPanel::TakesLeft() const {
    const QDir takes(qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/murmora/takes"));
    return takes.entryList(QDir::Files | QDir::Hidden);
}

OutputListener::OutputListener(QString rawFile) : rawFile_(std::move(rawFile)), recorder_(std::make_unique<QProcess>()) {
    recorder_->setStandardOutputFile(rawFile_);
    recorder_->start(QStringLiteral("parec"), {QStringLiteral("-d"), QStringLiteral("@DEFAULT_MONITOR@"),
                                               QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                               QStringLiteral("--rate=44100"), QStringLiteral("--channels=2"),
                                               QStringLiteral("--latency-msec=20")});
    // Small fragments, so that little is still on its way when the listener is stopped; and a
    // fresh monitor takes about a second to deliver its first frames: listen from there on.
    started_ = recorder_->waitForStarted() &&
               QTest::qWaitFor([this] { return QFileInfo(rawFile_).size() > 0; }, 5000);
}

OutputListener::~OutputListener() {
    if (recorder_->state() != QProcess::NotRunning) {
        recorder_->kill();
        recorder_->waitForFinished();
    }
}

std::optional<QString> OutputListener::Stop() {
    recorder_->terminate();
    if (!recorder_->waitForFinished(5000)) return std::nullopt;
    // From the first to the last audible frame: the silence the monitor hears around the
    // playback says nothing about it.
    const QString heard = rawFile_ + QStringLiteral(".wav");
    const ProcessResult sox = RunProgram(
        QStringLiteral("sox"),
        {QStringLiteral("-q"), QStringLiteral("-t"), QStringLiteral("raw"), QStringLiteral("-r"), QStringLiteral("44100"),
         QStringLiteral("-c"), QStringLiteral("2"), QStringLiteral("-e"), QStringLiteral("signed"), QStringLiteral("-b"),
         QStringLiteral("16"), rawFile_, heard, QStringLiteral("silence"), QStringLiteral("1"), QStringLiteral("0.01"),
         QStringLiteral("1%"), QStringLiteral("reverse"), QStringLiteral("silence"), QStringLiteral("1"),
         QStringLiteral("0.01"), QStringLiteral("1%"), QStringLiteral("reverse")});
    if (sox.exitCode != 0) return std::nullopt;
    return heard;
}

std::optional<WavFacts> ReadWavFacts(const QString& file) {
    auto number = [&file](const char* option) -> std::optional<long long> {
        const ProcessResult soxi = RunProgram(QStringLiteral("soxi"), {QLatin1String(option), file});
        bool ok = false;
        const long long value = soxi.output.trimmed().toLongLong(&ok);
        if (soxi.exitCode != 0 || !ok) return std::nullopt;
        return value;
    };
    const auto frames = number("-s");
    const auto rate = number("-r");
    const auto channels = number("-c");
    const auto bits = number("-b");
    if (!frames || !rate || !channels || !bits) return std::nullopt;
    return WavFacts{*frames, static_cast<int>(*rate), static_cast<int>(*channels), static_cast<int>(*bits)};
}

std::optional<double> LabelNumber(const QString& caption, const QString& unit) {
    const QRegularExpression format(QStringLiteral("^([1-9][0-9]*)?\\.([0-9]) %1$").arg(QRegularExpression::escape(unit)));
    const auto match = format.match(caption);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt() + match.captured(2).toInt() / 10.0;
}

} // namespace murmora::e2e
