#pragma once
#include <QByteArray>
#include <QtGlobal>

namespace murmora {

// The benchmarks' Qt platform, set before their QApplication is made: offscreen, unless
// QT_QPA_PLATFORM names another (xcb, to measure on a real display). Answers `argc`, so that it
// can stand in the QApplication's arguments.
inline int& offscreenUnlessTold(int& argc) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return argc;
}

} // namespace murmora
