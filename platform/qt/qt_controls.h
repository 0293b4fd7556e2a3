#pragma once
#include <functional>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include "platform/controls.h"
#include "platform/screen_metrics.h"

namespace murmora {

// A text label of the record panel: plain text on a transparent background.
class QtLabel final : public QLabel, public Label {
public:
    QtLabel(QWidget* parent, const QRect& geometry);
    std::string Caption() const override { return text().toStdString(); }
    void SetCaption(const std::string& caption) override { setText(QString::fromStdString(caption)); }
    int Left() const override { return x(); }
    void SetLeft(int pixels) override { move(pixels, y()); }

protected:
    // A press on a label belongs to the label: it does not drag the window.
    void mousePressEvent(QMouseEvent* event) override;
};

class QtTextBox final : public QLineEdit, public TextBox {
public:
    QtTextBox(QWidget* parent, const QRect& geometry);
    std::string Text() const override { return text().toStdString(); }
    void SetText(const std::string& value) override { setText(QString::fromStdString(value)); }
};

// A vertical scroll bar as a spinner: the top end holds the largest value, so the upper
// arrow counts up. Arrows and clicks in the track step by 1 and stop at the ends. The bar
// holds each value v as -v, which puts the largest value at Qt's top end (its minimum)
// while arrows, track, wheel and keys keep their usual directions.
class QtScrollBar final : public QScrollBar, public ScrollBar {
public:
    QtScrollBar(QWidget* parent, const QRect& geometry, int minimum, int maximum);
    int Value() const override { return -value(); }
    void SetValue(int value) override { setValue(-value); }
    // Without tracking, a dragged thumb reports its value once, on release.
    void SetChangeHandler(std::function<void()> handler) override { onChange_ = std::move(handler); }

private:
    std::function<void()> onChange_;
};

class QtCheckBox final : public QCheckBox, public CheckBox {
public:
    QtCheckBox(QWidget* parent, const QRect& geometry, const QString& caption);
    int Value() const override { return isChecked() ? 1 : 0; }
    void SetValue(int value) override { setChecked(value == 1); }
};

// A one-second timer; its ticks run on the user-interface thread.
class QtTimer final : public Timer {
public:
    QtTimer();
    bool Enabled() const override { return timer_.isActive(); }
    void SetEnabled(bool enabled) override;
    void SetTickHandler(std::function<void()> handler) override { onTick_ = std::move(handler); }

private:
    QTimer timer_;
    std::function<void()> onTick_;
};

// A control that shows an image at its top-left corner and reports the mouse in twips:
// Button as the set 1 left, 2 right, 4 middle; Shift as 1 Shift, 2 Ctrl, 4 Alt. After a
// press the control keeps the mouse (Qt's implicit grab): moves outside it and the release
// are reported wherever the pointer is, with coordinates beyond its extent.
class PictureControl : public QWidget {
public:
    PictureControl(QWidget* parent, const QRect& geometry, const QString& toolTip, const ScreenMetrics& screen);
    const QImage& ShownImage() const { return image_; }

protected:
    void ShowImage(QImage image);
    void SetHandlers(MouseHandlers handlers) { handlers_ = std::move(handlers); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Report(const MouseHandler& handler, int button, const QMouseEvent* event) const;

    const ScreenMetrics& screen_;
    QImage image_;
    MouseHandlers handlers_;
};

// The record button.
class QtPictureBox final : public PictureControl, public PictureBox {
public:
    using PictureControl::PictureControl;
    void SetPicture(const Picture& picture) override;
    void SetMouseHandlers(MouseHandlers handlers) override { SetHandlers(std::move(handlers)); }
};

// The colour an image button shows as transparent.
inline constexpr QRgb SeeThroughKeyColour = 0xFFBEBEBE;  // RGB(190, 190, 190)

// An image button's picture control: the key colour RGB(190, 190, 190) lets the window's
// skin show through.
class SeeThroughPicture final : public PictureControl, public ImageButton {
public:
    using PictureControl::PictureControl;
    // The two numbers of the picture operation are always 0 and 0: the picture sits at the
    // control's top-left corner.
    void SetPicture(const Picture& picture, float, float) override;
    void SetMouseHandlers(MouseHandlers handlers) override { SetHandlers(std::move(handlers)); }
};

// The image with every opaque pixel of the key colour made fully transparent.
QImage WithKeyColourTransparent(const QImage& image, QRgb key = SeeThroughKeyColour);

} // namespace murmora
