#pragma once
#include <functional>
#include <optional>

#include <QObject>
#include <QPoint>

#include "platform/choice_menu.h"

class QWidget;

namespace murmora::qt {

// The panel's menu of choices as a Qt menu, with a heading over each part and the present
// choice of each part checked. It opens where the right mouse button was pressed and let go
// on the panel itself (not on one of its buttons) without the pointer having moved, or by the
// panel's middle with the keyboard's menu key (Shift+F10). The tooltip is the panel's own.
class QtChoiceMenu final : public QObject, public ChoiceMenu {
public:
    explicit QtChoiceMenu(QWidget& panel);
    void setOpenHandler(std::function<void()> onOpen) override { onOpen_ = std::move(onOpen); }
    std::optional<MenuChoice> show(const std::vector<MenuPart>& parts) override;
    void setToolTip(const std::string& text) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Opens the menu at `at` (global pixels) once the event that asked for it has been handled.
    void openAt(QPoint at);

    QWidget& panel_;
    std::function<void()> onOpen_;
    // Where the right button went down on the panel, until it moves too far for a click.
    std::optional<QPoint> rightPressAt_;
    QPoint openAt_;
};

} // namespace murmora::qt
