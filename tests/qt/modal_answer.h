#pragma once
// Answers a modal window from inside the test: a short timer waits for the window to become
// the active modal widget, then hands it to the answer. Deleting the timer it returns calls off
// an answer to a window that never came.
#include <functional>

#include <QApplication>
#include <QTimer>

namespace murmora::testing {

template <class Window>
QTimer* answerNextModal(std::function<void(Window*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        answer(window);
    });
    poll->start();
    return poll;
}

} // namespace murmora::testing
