#include "platform/qt/qt_choice_menu.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace murmora::qt {

QtChoiceMenu::QtChoiceMenu(QWidget& panel) : QObject(&panel), panel_(panel) { panel_.installEventFilter(this); }

void QtChoiceMenu::setToolTip(const std::string& text) { panel_.setToolTip(QString::fromStdString(text)); }

bool QtChoiceMenu::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &panel_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton)
            rightPressAt_ = press->globalPosition().toPoint();
        else
            rightPressAt_.reset();
        return false; // the panel moves on a drag
    }
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (rightPressAt_ && (at - *rightPressAt_).manhattanLength() >= QApplication::startDragDistance())
            rightPressAt_.reset();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (release->button() == Qt::RightButton && release->buttons() == Qt::NoButton && rightPressAt_)
            openAt(*rightPressAt_);
        rightPressAt_.reset();
        return false;
    }
    case QEvent::ContextMenu:
        // The mouse's own asks are the click above; the keyboard's open the menu over the panel.
        if (static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard)
            openAt(panel_.mapToGlobal(panel_.rect().center()));
        return true;
    default:
        return false;
    }
}

void QtChoiceMenu::openAt(QPoint at) {
    openAt_ = at;
    QTimer::singleShot(0, this, [this] {
        if (onOpen_) onOpen_();
    });
}

std::optional<MenuChoice> QtChoiceMenu::show(const std::vector<MenuPart>& parts) {
    QMenu menu(&panel_);
    menu.setObjectName(QStringLiteral("choiceMenu"));
    std::vector<MenuChoice> chosen; // of each action, by its data
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const bool choices = !parts[p].heading.empty();
        menu.addSection(QString::fromStdString(parts[p].heading));
        auto* group = new QActionGroup(&menu);
        for (std::size_t e = 0; e < parts[p].entries.size(); ++e) {
            QAction* action = menu.addAction(QString::fromStdString(parts[p].entries[e]));
            action->setCheckable(choices);
            action->setChecked(parts[p].checked == e);
            if (choices) action->setActionGroup(group);
            action->setData(static_cast<qulonglong>(chosen.size()));
            chosen.push_back({p, e});
        }
    }
    const QAction* action = menu.exec(openAt_);
    if (!action) return std::nullopt;
    return chosen.at(action->data().toULongLong());
}

} // namespace murmora::qt
