#include "platform/qt/qt_screen_metrics.h"

#include <QGuiApplication>
#include <QScreen>

namespace murmora {

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double DesignDotsPerInch = 96.0;

double DotsPerInch(bool across) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return DesignDotsPerInch;
    const double dpi = across ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? dpi : DesignDotsPerInch;
}

} // namespace

double QtScreenMetrics::twipsPerPixelX() const { return TwipsPerInch / DotsPerInch(true); }
double QtScreenMetrics::twipsPerPixelY() const { return TwipsPerInch / DotsPerInch(false); }

} // namespace murmora
