// The window that names a long save's file, with the real Qt event loop.
#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/qt_progress_window.h"

namespace murmora {
using namespace murmora::qt;
namespace {

QProgressDialog* shownProgress() { return qobject_cast<QProgressDialog*>(QApplication::activeModalWidget()); }

TEST(ProgressWindow, IsModalStaysWhenTheUserClosesItAndGoesWhenHidden) {
    QtProgressWindow window;
    window.show("Saving the recording as  /media/stick/take one.wav");
    QProgressDialog* dialog = shownProgress();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->labelText(), QStringLiteral("Saving the recording as  /media/stick/take one.wav"));
    EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
    QTest::keyClick(dialog, Qt::Key_Escape);
    dialog->close();
    EXPECT_TRUE(dialog->isVisible()) << "the user closed it before its work was done";
    window.hide();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ProgressWindow, ALongTextIsShortenedInItsMiddle) {
    QtProgressWindow window;
    const std::string path = "/media/stick/" + std::string(400, 'a') + "/take.wav";
    window.show("Saving the recording as  " + path);
    const QString shown = shownProgress()->labelText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Saving the recording as  /media/"))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/take.wav"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    window.hide();
}

TEST(ProgressWindow, ShowsThePercentageDoneOnceToldAndStaysAtTheEndUntilHidden) {
    QtProgressWindow window;
    window.show("Saving the recording as  /home/user/take.flac");
    QProgressDialog* dialog = shownProgress();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->maximum(), 0) << "a busy bar until a percentage is told";
    window.setPercent(42);
    EXPECT_EQ(dialog->maximum(), 100);
    EXPECT_EQ(dialog->value(), 42);
    window.setPercent(100);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->value(), 100);
    window.hide();
}

TEST(ProgressWindow, ItsCancelButtonAsksOnceAndTheWindowStaysUntilHidden) {
    QtProgressWindow window;
    window.show("Saving the recording as  /home/user/take.opus");
    EXPECT_TRUE(shownProgress()->findChildren<QPushButton*>().isEmpty()) << "no Cancel unless offered";
    int asked = 0;
    window.offerCancel([&asked] { ++asked; });
    const auto buttons = shownProgress()->findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("Cancel"));
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(shownProgress() && shownProgress()->isVisible()) << "until the work is given up";
    window.hide();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace murmora
