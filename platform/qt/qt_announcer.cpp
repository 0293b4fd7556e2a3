#include "platform/qt/qt_announcer.h"

#include "platform/qt/qt_accessibility.h"

namespace murmora::qt {

QtAnnouncer::QtAnnouncer(QWidget& window) : QWidget(&window) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("announcer"));
    // One pixel, not none: a widget of no size is never mapped, and may never count as showing.
    setGeometry(0, 0, 1, 1);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void QtAnnouncer::announce(const std::string& text) {
    // Screen readers speak a notification as it shows; a change of its name alone goes unsaid.
    hide();
    setAccessibleName(QString::fromStdString(text));
    show();
}

} // namespace murmora::qt
