// "save" on a worker thread while the user interface goes on, with the real Qt event loop.
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/background_save_mci.h"
#include "tests/qt/modal_answer.h"

namespace murmora {
namespace {

using testing::answerNextModal;

// A service whose save waits until released, answering "saved" and 286, and notes its thread;
// other commands are noted and answered at once.
class SlowSave final : public MciService {
public:
    std::atomic<bool> released{false};
    std::thread::id saveThread;
    std::vector<std::string> others; // sent on the test's thread only

    int sendString(std::string_view command, char* reply, std::size_t replyLength) override {
        if (command.rfind("save ", 0) != 0) {
            others.emplace_back(command);
            return 0;
        }
        saveThread = std::this_thread::get_id();
        while (!released)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::strncpy(reply, "saved", replyLength);
        return 286;
    }
    std::string getErrorString(int) override { return {}; }
};

const char* const kSave = "save capture \"/media/stick/take one.wav\"";

TEST(BackgroundSave, RunsOnAWorkerWhileTimersAndOtherCommandsGoOnAndALongOneShowsTheFileUntilDone) {
    SlowSave service;
    BackgroundSaveMci mci(service);
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (++ticks == 1) mci.sendString("status voice1 mode", nullptr, 0);
    });
    ticker.start(10);
    QString label;
    bool modal = false, stayed = false;
    answerNextModal<QProgressDialog>([&](QProgressDialog* dialog) {
        label = dialog->labelText();
        modal = dialog->windowModality() == Qt::ApplicationModal;
        QTest::keyClick(dialog, Qt::Key_Escape);
        dialog->close();
        stayed = dialog->isVisible();
        service.released = true;
    });
    char reply[16] = "";
    EXPECT_EQ(mci.sendString(kSave, reply, sizeof reply), 286);
    EXPECT_STREQ(reply, "saved");
    EXPECT_NE(service.saveThread, std::this_thread::get_id());
    EXPECT_GT(ticks, 0);
    EXPECT_EQ(service.others, std::vector<std::string>{"status voice1 mode"});
    EXPECT_EQ(label, QStringLiteral("Saving the recording as  /media/stick/take one.wav"));
    EXPECT_TRUE(modal);
    EXPECT_TRUE(stayed) << "the user closed the dialog before the save was done";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog outlived the save";
}

} // namespace
} // namespace murmora
