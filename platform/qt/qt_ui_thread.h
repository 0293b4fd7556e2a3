#pragma once
#include <QObject>

#include "platform/ui_thread.h"

namespace murmora::qt {

// Work for the thread that made this object, the user-interface thread, as queued Qt events.
class QtUiThread final : public UiThread {
public:
    void post(std::function<void()> work) override;

private:
    QObject receiver_; // work queued for it is dropped when it goes
};

} // namespace murmora::qt
