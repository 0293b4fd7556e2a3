// One QApplication, offscreen, with a scratch home and cache for takes and fallback files.
#include <clocale>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    std::string home = "/tmp/murmora-e2e-XXXXXX";
    if (!mkdtemp(home.data())) return EXIT_FAILURE;
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(home + "/.cache"));
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(home));

    int result = EXIT_FAILURE;
    {
        QApplication app(argc, argv);
        // As the program's main(): numbers the C way, the time of day in the user's format.
        std::setlocale(LC_ALL, "C");
        std::setlocale(LC_CTYPE, "");
        std::setlocale(LC_TIME, "");
        QApplication::setQuitOnLastWindowClosed(false);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    QDir(QString::fromStdString(home)).removeRecursively();
    return result;
}
