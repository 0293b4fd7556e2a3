#include "platform/qt/qt_accessibility.h"

#include <cmath>

#include <QAccessibleWidget>

#include "platform/level.h"
#include "platform/qt/qt_announcer.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_level_display.h"
#include "platform/qt/qt_panel_window.h"

namespace murmora::qt {

namespace {

// A picture button: Press clicks it as Space does, showing its pressed picture for a tenth
// of a second; it counts as pressed while it is held down or has a status, which is its
// description. Without a status it has none: Qt would give its tooltip, which screen readers
// then read after its name at every focus. Nor does it name Space and Return as the keys of
// Press: Orca reads a key binding after the name ("Record push button return") every time.
class PictureButtonAccessible final : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(QtPictureButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Description) return button()->statusText();
        return QAccessibleWidget::text(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown() || !button()->statusText().isEmpty();
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            button()->animateClick();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QtPictureButton* button() const { return static_cast<QtPictureButton*>(widget()); }
};

// A spinner: a spin box holding the spinner's value, not the negated one its scroll bar keeps;
// its value read as its box shows it ("AM", "05").
class SpinnerAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SpinnerAccessible(QtSpinner* spinner) : QAccessibleWidget(spinner, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value) return spinner()->valueText();
        return QAccessibleWidget::text(type);
    }
    QVariant currentValue() const override { return spinner()->value(); }
    void setCurrentValue(const QVariant& value) override { spinner()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return spinner()->maximum(); }
    QVariant minimumValue() const override { return spinner()->minimum(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override {
        return QStringList{increaseAction(), decreaseAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == increaseAction()) {
            spinner()->triggerAction(QAbstractSlider::SliderSingleStepSub); // the upper arrow
        } else if (action == decreaseAction()) {
            spinner()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QtSpinner* spinner() const { return static_cast<QtSpinner*>(widget()); }
};

// The level bar: the input's peak in dBFS on the bar's scale, read as "-12 dBFS", and
// "-12 dBFS, clipped" once the input has reached full scale. That reading is its text too:
// screen readers that take a bar's value as a share of its range (Orca 43 says "-10 percent"
// for -6 dBFS) read the text instead where they review the window.
class LevelBarAccessible final : public QAccessibleWidget,
                                 public QAccessibleValueInterface,
                                 public QAccessibleTextInterface {
public:
    explicit LevelBarAccessible(LevelBar* bar) : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Value) return bar()->levelText();
        return QAccessibleWidget::text(type);
    }
    QVariant currentValue() const override { return bar()->shownDbfs(); }
    void setCurrentValue(const QVariant&) override {} // the input sets it
    QVariant maximumValue() const override { return 0.0; }
    QVariant minimumValue() const override { return kLevelScaleFloorDbfs; }
    QVariant minimumStepSize() const override { return 1.0; }

    // The text: the level's reading, on the bar, read-only and with no cursor or selection.
    QString text(int startOffset, int endOffset) const override {
        return bar()->levelText().mid(startOffset, endOffset < 0 ? -1 : endOffset - startOffset); // -1: to its end
    }
    int characterCount() const override { return static_cast<int>(bar()->levelText().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return 0; }
    void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    LevelBar* bar() const { return static_cast<LevelBar*>(widget()); }
};

// The note on the display: a notification whose name is its text, so that it is read out
// when it shows.
class DisplayNoteAccessible final : public QAccessibleWidget {
public:
    explicit DisplayNoteAccessible(DisplayNote* note) : QAccessibleWidget(note, QAccessible::Notification) {}

    QString text(QAccessible::Text type) const override {
        if (type == QAccessible::Name) return static_cast<DisplayNote*>(widget())->text();
        return QAccessibleWidget::text(type);
    }
};

// Qt's own interfaces answer for the class names of Qt's classes, which are the nearest
// these controls have: each is told apart by its type.
QAccessibleInterface* panelControlInterface(const QString&, QObject* object) {
    // A plain widget would be a nameless filler; the panel is the program's window.
    if (auto* panel = dynamic_cast<QtPanelWindow*>(object)) return new QAccessibleWidget(panel, QAccessible::Window);
    if (auto* button = dynamic_cast<QtPictureButton*>(object)) return new PictureButtonAccessible(button);
    if (auto* spinner = dynamic_cast<QtSpinner*>(object)) return new SpinnerAccessible(spinner);
    if (auto* bar = dynamic_cast<LevelBar*>(object)) return new LevelBarAccessible(bar);
    if (auto* note = dynamic_cast<DisplayNote*>(object)) return new DisplayNoteAccessible(note);
    // Its name is its accessible name: the announcement.
    if (auto* announcer = dynamic_cast<QtAnnouncer*>(object))
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces() {
    static const bool installed = (QAccessible::installFactory(panelControlInterface), true);
    static_cast<void>(installed);
}

} // namespace murmora::qt
