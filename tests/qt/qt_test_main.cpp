// Runs the real-window tests inside one QApplication on the offscreen platform.
#include <cstdlib>
#include <string>

#include <QApplication>
#include <gtest/gtest.h>

namespace {

// Qt wants a private runtime folder; a test run may come without one.
void EnsurePrivateRuntimeFolder() {
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) return;
    std::string folder = "/tmp/murmora-qt-tests-XXXXXX";
    if (mkdtemp(folder.data())) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder));
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    EnsurePrivateRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
