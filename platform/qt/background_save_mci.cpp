#include "platform/qt/background_save_mci.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include <QAbstractEventDispatcher>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QProgressDialog>
#include <QTimer>

#include "platform/mci/mci_command.h"
#include "platform/qt/qt_dialogs.h"

namespace murmora {

namespace {

// A save that ends within this time shows no dialog, only holds back the user's input.
constexpr int kQuietMs = 500;
constexpr int kLongestShownPathPixels = 420;

// Names the file being saved; neither the user nor Escape closes it before the save is done.
class SaveProgressDialog final : public QProgressDialog {
public:
    explicit SaveProgressDialog(const std::string& path)
        : QProgressDialog(dialogParent(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setWindowTitle(QStringLiteral("Murmora"));
        const QString name =
            fontMetrics().elidedText(QFile::decodeName(path.c_str()), Qt::ElideMiddle, kLongestShownPathPixels);
        setLabelText(tr("Saving the recording as  %1").arg(name));
        setCancelButton(nullptr);
        setRange(0, 0);
        setWindowModality(Qt::ApplicationModal);
    }
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

int BackgroundSaveMci::sendString(std::string_view command, char* reply, std::size_t replyLength) {
    const auto parsed = mci::parseMciCommand(command);
    if (!parsed || parsed->verb != "save") return service_.sendString(command, reply, replyLength);
    return saveInBackground(command, parsed->path, reply, replyLength);
}

int BackgroundSaveMci::saveInBackground(std::string_view command, const std::string& path, char* reply,
                                        std::size_t replyLength) {
    // The worker answers into a buffer of its own: handlers that run meanwhile may send
    // commands with the caller's.
    std::string answer(reply, reply ? replyLength : 0);
    int result = 0;
    std::atomic<bool> done{false};
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
    std::thread worker([&, text = std::string(command)] {
        result = service_.sendString(text, answer.data(), answer.size());
        done.store(true, std::memory_order_release);
        dispatcher->wakeUp();
    });

    QTimer quiet; // its tick ends the quiet wait when nothing else does
    quiet.setSingleShot(true);
    quiet.start(kQuietMs);
    std::unique_ptr<SaveProgressDialog> progress;
    // Not a QEventLoop: an exit() of the program (a window closed by the window manager) must
    // not end the wait before the save has ended.
    while (!done.load(std::memory_order_acquire)) {
        if (!progress && !quiet.isActive()) {
            progress = std::make_unique<SaveProgressDialog>(path);
            progress->show();
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents |
                                        (progress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    }
    worker.join();
    if (reply) std::copy(answer.begin(), answer.end(), reply);
    return result;
}

} // namespace murmora
