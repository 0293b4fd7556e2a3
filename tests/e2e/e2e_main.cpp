// Runs the end-to-end tests inside one QApplication on the offscreen platform, with a home
// and cache folder of their own, so that takes and fallback files land in a scratch place.
#include <clocale>
#include <cstdlib>
#include <string>

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace {

std::string MakeScratchFolder(const char* pattern) {
    std::string folder = pattern;
    return mkdtemp(folder.data()) ? folder : std::string();
}

// The program reads numbers the C way and the time of day in the user's format, as its main() sets.
void SetProgramLocales() {
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_TIME, "");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The schedule reads the time of day as the locale writes it: "HH:MM:SS" here, whatever the
    // machine's own locale.
    qputenv("LC_ALL", "C.UTF-8");
    const std::string home = MakeScratchFolder("/tmp/murmora-e2e-XXXXXX");
    if (home.empty()) return EXIT_FAILURE;
    qputenv("HOME", QByteArray::fromStdString(home));
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(home + "/.cache"));
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(home));

    int result = EXIT_FAILURE;
    {
        QApplication app(argc, argv);
        SetProgramLocales();
        QApplication::setQuitOnLastWindowClosed(false);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    QDir(QString::fromStdString(home)).removeRecursively();
    return result;
}
