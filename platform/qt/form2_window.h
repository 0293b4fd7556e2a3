#pragma once
#include <functional>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialogs.h"

namespace murmora {

// The schedule window: a fixed-size dialog with a close box, laid out in twips
// (client area 5175 x 2610) and converted to the screen's pixels. The time and duration boxes
// only show their spinners' values; the target box takes typing.
class Form2Window final : public QDialog {
public:
    Form2Window(QWidget* owner, const ScreenMetrics& screen);

    // Asked before the user's close (close box, Escape, the window manager) goes ahead;
    // true keeps the window open. The handler may hide the window itself.
    std::function<bool()> onQueryClose;

    // Escape closes the window the same way as its close box.
    void reject() override;

    QGroupBox* const Frame2;
    QGroupBox* const Frame1;
    QGroupBox* const Frame3;
    QGroupBox* const Frame4;
    QtTextBox* const Text1;
    QtTextBox* const Text2;
    QtTextBox* const Text3;
    QtTextBox* const Text4;
    QtTextBox* const Text5;
    QtTextBox* const Text6;
    QtTextBox* const Text7;
    QtTextBox* const Text8;
    QtSpinner* const VScroll1;
    QtSpinner* const VScroll2;
    QtSpinner* const VScroll3;
    QtSpinner* const VScroll4;
    QtSpinner* const VScroll5;
    QtSpinner* const VScroll6;
    QtSpinner* const VScroll7;
    QPushButton* const Command1;
    QtCheckBox* const Check1;
    QtFileDialog CommonDialog1;

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace murmora
