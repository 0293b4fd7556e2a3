#include "platform/qt/qt_screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace murmora::qt {

namespace {

constexpr double kDesignDotsPerInch = 96.0;

double dotsPerInch(bool across) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return kDesignDotsPerInch;
    const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : kDesignDotsPerInch;
}

} // namespace

double QtScreenMetrics::dotsPerInchX() const { return dotsPerInch(true); }
double QtScreenMetrics::dotsPerInchY() const { return dotsPerInch(false); }

} // namespace murmora::qt
