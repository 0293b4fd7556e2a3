// The window that names a long save's file, with the real Qt event loop.
#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/qt_progress_window.h"

namespace murmora {
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

} // namespace
} // namespace murmora
