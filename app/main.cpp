// Murmora: the record panel.
#include <clocale>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

#include <QApplication>
#include <QDBusConnection>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPixmap>
#include <QTranslator>

#include "app/qt_panel.h"
#include "core/texts.h"
#include "engine/backends/backends.h"
#include "engine/disk_take_folder.h"
#include "engine/sound_engine.h"
#include "engine/take_file.h"
#include "platform/portal/portal_hotkeys.h"
#include "platform/posix/settings_file.h"
#include "platform/qt/qt_files.h"
#include "platform/qt/qt_no_hotkeys.h"
#include "platform/qt/qt_panel_instance.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_ui_thread.h"
#include "platform/x11/xcb_hotkeys.h"

namespace {

// The name of the installed .desktop file, by which the desktop lists the portal's shortcuts.
const QString kAppId = QStringLiteral("io.github.murmora.Murmora");

bool waylandSession() {
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qgetenv("XDG_SESSION_TYPE") == QByteArrayLiteral("wayland");
}

// The panel's outline, position and drag need X11: on a Wayland desktop the program runs
// through XWayland unless the user chose a platform.
void preferX11() {
    if (waylandSession() && qEnvironmentVariableIsSet("DISPLAY") && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
    }
}

void tellHotkeys(const std::string& how) { std::cerr << "murmora: global hotkeys: " << how << '\n'; }

// `why`: what the line on standard error adds on why these.
std::unique_ptr<murmora::Hotkeys> x11Hotkeys(const std::string& why = {}) {
    if (auto hotkeys = murmora::makeX11Hotkeys()) {
        tellHotkeys("X11 key grabs" + why);
        return hotkeys;
    }
    tellHotkeys("none (no X11 connection)" + why);
    return std::make_unique<murmora::qt::NoHotkeys>();
}

// Under Wayland, X11 grabs see only the keys typed into X11 windows: the desktop portal's
// global shortcuts where it offers them. Which one is known once the portal answers, so that
// start-up never waits for it.
std::unique_ptr<murmora::Hotkeys> makeHotkeys() {
    if (!waylandSession()) return x11Hotkeys();
    // A connection of its own: the portal takes the program's name only before any other
    // portal call on a connection, and Qt may have made some on the shared one.
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("murmora-portal"));
    if (!bus.isConnected()) return x11Hotkeys(", no session bus for the desktop portal");
    return std::make_unique<murmora::PortalHotkeys>(
        bus, kAppId, [] { return x11Hotkeys(", the desktop portal offers no global shortcuts"); },
        [] { tellHotkeys("the desktop portal (GlobalShortcuts)"); });
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

// Numbers are read and written the C way everywhere, and shown with the user's decimal
// separator; the time of day and the language of the texts follow the user.
void setLocales() {
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_TIME, "");
    std::setlocale(LC_MESSAGES, "");
    murmora::noteUsersDecimalSeparator();
}

// The program's catalogues: in the build tree and the Windows folder beside the program, once
// installed in the data folder beside its bin/.
std::filesystem::path catalogueFolder() {
    const std::filesystem::path programFolder = QCoreApplication::applicationDirPath().toStdString();
    const std::filesystem::path beside = programFolder / "locale";
    return std::filesystem::is_directory(beside) ? beside : programFolder.parent_path() / "share" / "locale";
}

// Qt's own texts (the file dialog's buttons and labels) in the same language, from Qt's
// translations where the system has them.
void translateQtTexts(QTranslator& translator) {
    if (translator.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

// Without a home of its own (HOME unset, empty, "/" or no folder) the process takes the one the
// program uses, so that Qt and the libraries it loads keep their files there, never in "/": the
// password database's, else the take folder's parent (the take folder is the user's own, outside
// any home then).
void settleHomeFolder() {
    const std::string lastResort = murmora::audio::defaultTakeFolder().parent_path().string();
    if (const std::string home = murmora::qt::userHomeFolder(lastResort); !home.empty())
        ::setenv("HOME", home.c_str(), 1);
}

void reportStartFailure(const std::string& failure) {
    std::cerr << "murmora: cannot start: " << failure << '\n';
    QMessageBox::critical(nullptr, QStringLiteral("Murmora"),
                          QString::fromStdString(murmora::translated("Murmora cannot start.\n\n%s", {failure})));
}

} // namespace

int main(int argc, char* argv[]) {
    if (reportNoDisplay()) return EXIT_FAILURE;
    murmora::qt::returnLargeBlocksToTheSystem();
    preferX11();
    settleHomeFolder();
    // A second start brings the running panel to the front and ends.
    murmora::qt::QtPanelInstance instance;
    switch (instance.claim()) {
    case murmora::qt::QtPanelInstance::Claim::first:
        break;
    case murmora::qt::QtPanelInstance::Claim::unguarded:
        std::cerr << "murmora: no one-panel lock (" << instance.unguardedReason()
                  << "): a later start on this display opens another panel\n";
        break;
    case murmora::qt::QtPanelInstance::Claim::otherRaised:
        return EXIT_SUCCESS;
    case murmora::qt::QtPanelInstance::Claim::otherSilent:
        std::cerr << "murmora: a panel runs already on this display, but it did not answer\n";
        return EXIT_SUCCESS;
    }
    QApplication app(argc, argv);
    // Qt set every locale category from the environment; keep only what the program wants.
    setLocales();
    murmora::readCataloguesFrom(catalogueFolder());
    QTranslator qtTexts;
    translateQtTexts(qtTexts);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(
        QIcon(QPixmap::fromImage(murmora::qt::readPictureFile(QStringLiteral(":/icons/murmora.png")))));
    QGuiApplication::setDesktopFileName(kAppId);
    // The name screen readers list the program by (the display name would go into every title).
    QCoreApplication::setApplicationName(QStringLiteral("Murmora"));

    murmora::qt::QtUiThread uiThread;
    const std::filesystem::path takeFolder = murmora::audio::defaultTakeFolder();
    murmora::audio::SoundEngine engine(murmora::audio::makeAudioBackend(), takeFolder, uiThread);
    const std::unique_ptr<murmora::TakeFolder> takes = murmora::audio::makeTakeFolder(takeFolder);
    const std::unique_ptr<murmora::Hotkeys> hotkeys = makeHotkeys();

    murmora::posix::SettingsFile settings;
    murmora::qt::QtPanel panel(engine, engine, *takes, *hotkeys, settings);
    if (const auto failure = panel.start()) {
        reportStartFailure(*failure);
        return EXIT_FAILURE;
    }
    instance.listen([&panel] { panel.windows.bringPanelToFront(); });
    return QApplication::exec();
}
