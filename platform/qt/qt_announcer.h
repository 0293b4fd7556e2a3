#pragma once
#include <QWidget>

#include "platform/announcer.h"

namespace murmora::qt {

// An announcement as Orca and other AT-SPI screen readers speak one without the focus moving:
// a notification named by its text that shows anew. It paints nothing and takes no input.
class QtAnnouncer final : public QWidget, public Announcer {
public:
    explicit QtAnnouncer(QWidget& window);

    void announce(const std::string& text) override;
};

} // namespace murmora::qt
