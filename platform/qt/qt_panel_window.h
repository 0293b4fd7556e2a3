#pragma once
#include <array>
#include <functional>
#include <optional>

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "platform/qt/qt_announcer.h"
#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_level_display.h"
#include "platform/qt/qt_progress_window.h"

namespace murmora::qt {

// The record panel: a frameless window painted with its skin, holding every control at its
// pixel position (platform/panel_layout.h). A press on a free spot, with any
// mouse button, moves the window.
//
// Tab and Shift+Tab go round the picture buttons in reading order, from the record button,
// which has the focus when the panel first shows. Once the keyboard is used on the panel, the
// button with the focus wears the focus mark (platform/focus_mark.h) in the skin's well around
// it; a panel only ever used with the mouse shows none.
class QtPanelWindow final : public QWidget {
public:
    QtPanelWindow();

    void setBackground(QImage skin);
    const QImage& background() const { return skin_; }
    // The button that wears the focus mark, if any.
    const QtPictureButton* markedButton() const;

    // Runs when the window system asks the window to close (Alt+F4, the window manager's close);
    // the window stays until the program ends.
    std::function<void()> onSystemClose;

    // In reading order, which screen readers list them in.
    QtPictureButton* const minimizeButton;
    QtPictureButton* const recordButton;
    QtPictureButton* const closeButton;
    QtPictureButton* const stopButton;
    QtPictureButton* const convertButton;
    QtPictureButton* const playButton;
    QtPictureButton* const scheduleButton;
    QtLabel* const secondsLabel;
    QtLabel* const sizeLabel;
    QtLabel* const copyrightLabel;
    QtLabel* const versionLabel;
    QtLabel* const scheduleCaptionLabel;
    QtLabel* const scheduleTimeLabel;
    QtTimer elapsedTimer;
    QtTimer scheduleStartTimer;
    QtTimer scheduledStopTimer;
    QtTimer levelTimer;
    QtLevelDisplay levelDisplay{*this};
    QtFileDialog saveTakeDialog;
    QtFileDialog convertDialog;
    QtTimer saveProgressTimer;
    QtProgressWindow saveProgress;
    QtAnnouncer* const announcer;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The picture buttons in reading order: the order of Tab.
    std::array<QtPictureButton*, 7> buttonsInReadingOrder() const;
    // Shows or takes off the focus mark of `button`, after its focus or the keyboard's use changed.
    void updateFocusMark(QtPictureButton& button);

    QImage skin_;
    // The keyboard has been used on the panel: the focused button shows it.
    bool keyboardUsed_ = false;
    // Where the pointer held the window, while it is moved by hand.
    std::optional<QPoint> dragOffset_;
};

// The windows were laid out for a narrow lettering of 8 points; wider text runs out of its
// labels. The panel's display is tighter still (platform/panel_layout.h).
inline constexpr int kDesignFontPoints = 8;
void setDesignFont(QWidget* window, int points = kDesignFontPoints);

} // namespace murmora::qt
