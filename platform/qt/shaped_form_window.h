#pragma once
#include <functional>
#include <optional>

#include <QImage>
#include <QPoint>
#include <QPushButton>
#include <QWidget>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialogs.h"

namespace murmora {

// The record panel: a frameless window of 204 x 231 pixels at 410, 268, painted with its
// skin, holding every control at its pixel position. A press on a free spot, with any
// mouse button, moves the window.
class ShapedFormWindow final : public QWidget {
public:
    explicit ShapedFormWindow(const ScreenMetrics& screen);

    void setBackground(QImage skin);
    const QImage& background() const { return skin_; }

    // Runs when the window system closes the window (Alt+F4, the window manager's close).
    std::function<void()> onSystemClose;

    QtPictureButton* const PictureRecord;
    SeeThroughButton* const SeeThroughMin;
    SeeThroughButton* const SeeThroughClose;
    SeeThroughButton* const SeeThroughCut;
    SeeThroughButton* const SeeThroughWav;
    SeeThroughButton* const SeeThroughPlay;
    SeeThroughButton* const SeeThroughTime;
    QtLabel* const Label1;
    QtLabel* const Label2;
    QtLabel* const Label3;
    QtLabel* const Label4;
    QtLabel* const Label5;
    QtLabel* const Label6;
    // Entry points that code triggers with click(); never shown.
    QPushButton* const Command1;
    QPushButton* const Command2;
    QPushButton* const Command3;
    QPushButton* const Command4;
    QtTimer Timer1;
    QtTimer Timer2;
    QtTimer Timer3;
    QtFileDialog CommonDialog1;
    QtFileDialog CommonDialog2;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QImage skin_;
    // Where the pointer held the window, while it is moved by hand.
    std::optional<QPoint> dragOffset_;
};

// The windows were laid out for a narrow lettering of 8 points; wider text runs out of its
// labels. The panel's display is tighter still: "©" and the short name must end before the disc.
inline constexpr int DesignFontPoints = 8;
inline constexpr int DisplayFontPoints = 7;
void setDesignFont(QWidget* window, int points = DesignFontPoints);

inline constexpr int PanelWidth = 204;
inline constexpr int PanelHeight = 231;
inline constexpr int PanelLeft = 410;
inline constexpr int PanelTop = 268;

} // namespace murmora
