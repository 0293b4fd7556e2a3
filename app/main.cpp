// Murmora: the record panel.
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>

#include "app/qt_panel.h"
#include "platform/mci/make_mci_service.h"
#include "platform/qt/no_hotkeys.h"
#include "platform/qt/qt_picture.h"
#include "platform/x11/xcb_hotkeys.h"

namespace {

// The panel's outline, position, drag and hotkeys need X11: on a Wayland desktop the
// program runs through XWayland unless the user chose a platform.
void preferX11() {
    const bool wayland =
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
    if (wayland && qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    }
}

// Without any display Qt aborts with a message for developers; a user is told what to do.
bool reportNoDisplay() {
    if (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    std::cerr << "murmora: there is no graphical session to show the panel in (neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set).\n"
                 "Start Murmora from a desktop session, or run scripts/run.sh from its source folder, which "
                 "starts one under Xvfb.\n";
    return true;
}

// Numbers are read and written the C way everywhere; only the time of day follows the user.
void setLocales() {
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_TIME, "");
}

void reportStartFailure(const std::string& failure) {
    std::cerr << "murmora: cannot start: " << failure << '\n';
    QMessageBox::critical(nullptr, QStringLiteral("Murmora"),
                          QStringLiteral("Murmora cannot start.\n\n%1").arg(QString::fromStdString(failure)));
}

} // namespace

int main(int argc, char* argv[]) {
    if (reportNoDisplay()) return EXIT_FAILURE;
    preferX11();
    QApplication app(argc, argv);
    // Qt set every locale category from the environment; keep only what the program wants.
    setLocales();
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(murmora::readPictureFile(QStringLiteral(":/icons/murmora.png")))));

    const std::unique_ptr<murmora::MciService> mci = murmora::makeMciService();
    const std::unique_ptr<murmora::TakeFolder> takes = murmora::makeTakeFolder();
    std::unique_ptr<murmora::Hotkeys> hotkeys = murmora::makeX11Hotkeys();
    if (!hotkeys) hotkeys = std::make_unique<murmora::NoHotkeys>();

    murmora::QtPanel panel(*mci, *takes, *hotkeys);
    if (const auto failure = panel.start()) {
        reportStartFailure(*failure);
        return EXIT_FAILURE;
    }
    return QApplication::exec();
}
