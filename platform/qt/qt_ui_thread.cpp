#include "platform/qt/qt_ui_thread.h"

namespace murmora::qt {

void QtUiThread::post(std::function<void()> work) {
    QMetaObject::invokeMethod(&receiver_, std::move(work), Qt::QueuedConnection);
}

} // namespace murmora::qt
