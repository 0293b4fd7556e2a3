#include "platform/qt/qt_window_host.h"

#include <vector>

#include <QCoreApplication>
#include <QMetaObject>

#include "platform/qt/qt_picture.h"

namespace murmora::qt {

QRegion toQRegion(const Region& region) {
    std::vector<QRect> rects;
    region.forEachRect([&rects](int left, int top, int right, int bottom) {
        rects.emplace_back(QPoint(left, top), QPoint(right - 1, bottom - 1));
    });
    QRegion out;
    out.setRects(rects.data(), static_cast<int>(rects.size()));
    return out;
}

QtWindowHost::QtWindowHost(QtPanelWindow& panel, QtScheduleWindow& scheduleWindow)
    : panel_(panel), scheduleWindow_(scheduleWindow) {}

void QtWindowHost::setPanelBackground(const Picture& picture) { panel_.setBackground(imageOf(picture)); }

void QtWindowHost::setPanelOutline(const Outline& outline) {
    panel_.setMask(toQRegion(regionOf(outline)));
    panel_.update();
}

void QtWindowHost::showScheduleWindow() {
    if (scheduleWindowLoaded_) scheduleWindow_.dialog().exec();
}

void QtWindowHost::hideScheduleWindow() {
    if (QtScheduleDialog* dialog = scheduleWindow_.madeDialog()) dialog->hide();
}

void QtWindowHost::unloadScheduleWindow() {
    // The widgets stay until the program ends: the rules keep references to them.
    scheduleWindowLoaded_ = false;
    hideScheduleWindow();
}

void QtWindowHost::endProgram() {
    // exit() rather than quit(): quit() first asks every shown window to close, and the
    // program has already run its own shutdown. Queued, so the current handler returns first.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void QtWindowHost::bringPanelToFront() {
    panel_.setWindowState(panel_.windowState() & ~Qt::WindowMinimized);
    panel_.show();
    panel_.raise();
    panel_.activateWindow();
    QtScheduleDialog* dialog = scheduleWindow_.madeDialog();
    if (dialog && dialog->isVisible()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace murmora::qt
