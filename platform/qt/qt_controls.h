#pragma once
#include <functional>

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

#include "platform/controls.h"
#include "platform/focus_mark.h"
#include "platform/panel_layout.h"

namespace murmora::qt {

// A text label of the record panel: plain text on a transparent background.
class QtLabel final : public QLabel, public Label {
public:
    QtLabel(QWidget* parent, const QRect& geometry);
    void setCaption(const std::string& caption) override { setText(QString::fromStdString(caption)); }
    void setLeft(int pixels) override { move(pixels, y()); }

protected:
    // A left press on a label's text belongs to the label: it does not drag the window. Any other
    // press goes on to the panel, as on a free spot: the right button opens its menu there.
    void mousePressEvent(QMouseEvent* event) override;
};

// A text box. Its text() and setText() speak the rules' std::string; QLineEdit's own take QString.
// An edit is finished with Enter or when the focus leaves the box; the Up and Down arrows are
// reported as steps when a step handler is set.
class QtTextBox final : public QLineEdit, public TextBox {
public:
    QtTextBox(QWidget* parent, const QRect& geometry);
    std::string text() const override { return QLineEdit::text().toStdString(); }
    void setText(const std::string& text) override { QLineEdit::setText(QString::fromStdString(text)); }
    void setEditFinishedHandler(std::function<void()> handler) override { onEditFinished_ = std::move(handler); }
    void setStepHandler(std::function<void(int)> handler) override { onStep_ = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::function<void()> onEditFinished_;
    std::function<void(int)> onStep_;
};

// A vertical scroll bar as a spinner: the top end holds the largest value, so the upper
// arrow counts up. Arrows and clicks in the track step by 1 and stop at the ends. The bar
// holds each value v as -v, which puts the largest value at Qt's top end (its minimum)
// while arrows, track, wheel and keys keep their usual directions. Its value() and setValue()
// speak the spinner's value; QAbstractSlider's own, the negated one. Tab reaches it (a click
// leaves the focus where it is); Up and Down then count up and down.
class QtSpinner final : public QScrollBar, public Spinner {
public:
    QtSpinner(QWidget* parent, const QRect& geometry, int minimum, int maximum);
    int value() const override { return -QAbstractSlider::value(); }
    void setValue(int value) override { QAbstractSlider::setValue(-value); }
    int minimum() const override { return -QAbstractSlider::maximum(); }
    int maximum() const override { return -QAbstractSlider::minimum(); }
    // Without tracking, a dragged thumb reports its value once, on release.
    void setChangeHandler(std::function<void()> handler) override { onChange_ = std::move(handler); }
    // The box that shows the value, whose text screen readers read as the spinner's value.
    void setValueBox(const QLineEdit* box) { valueBox_ = box; }
    QString valueText() const { return valueBox_ ? valueBox_->text() : QString::number(value()); }

protected:
    // A scroll bar shows no focus of its own: the spinner draws the style's focus frame round it.
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> onChange_;
    const QLineEdit* valueBox_ = nullptr;
};

class QtCheckBox final : public QCheckBox, public CheckBox {
public:
    QtCheckBox(QWidget* parent, const QRect& geometry, const QString& caption);
    bool isChecked() const override { return QCheckBox::isChecked(); }
};

// A one-second timer; its ticks run on the user-interface thread.
class QtTimer final : public Timer {
public:
    QtTimer();
    void setEnabled(bool enabled) override;
    void setInterval(std::chrono::milliseconds interval) override { timer_.setInterval(interval); }
    void setTickHandler(std::function<void()> handler) override { onTick_ = std::move(handler); }

private:
    QTimer timer_;
    std::function<void()> onTick_;
};

// A control that shows an image at its top-left corner and reports the mouse in pixels, the
// buttons as the set 1 left, 2 right, 4 middle. After a press the control keeps the mouse (Qt's
// implicit grab): moves outside it and the release are reported wherever the pointer is, with
// coordinates beyond its extent. The record button.
//
// It is a push button for the keyboard and for screen readers, named as its tooltip unless
// given another accessible name: Tab reaches it
// (a mouse press leaves the focus where it is), Space pressed and released, Enter, and a
// screen reader's Press are reported as a left press and release in its middle, the pressed
// picture showing for as long as Space is held or for a tenth of a second. A key press given
// up (Escape, the focus going elsewhere) is reported as a move off the button.
class QtPictureButton final : public QAbstractButton, public PictureButton {
public:
    // Where `place` says, with its tooltip and name; a see-through button's pictures let the
    // window's skin show through their key colour RGB(190, 190, 190).
    QtPictureButton(QWidget* parent, const panel_layout::ButtonPlace& place);
    void setPicture(const Picture& picture) override;
    void setMouseHandlers(MouseHandlers handlers) override { handlers_ = std::move(handlers); }
    void setStatusText(const std::string& status) override;
    const QString& statusText() const { return status_; }
    // The pixels of the button its picture covers, where the focus mark goes around.
    PixelBox pictureBox() const;
    // Whether it wears the focus mark. The mark goes round its picture, mostly beyond its own
    // pixels: its window draws that part, the button the rest, over the picture.
    bool showsFocusMark() const { return focusMarkShown_; }
    void setFocusMarkShown(bool shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void report(const MouseHandler& handler, int buttons, QPointF at) const;
    // Reports a key press that ended without a click, if `wasDown` and the button is up now.
    void reportGivenUp(bool wasDown) const;

    const bool seeThrough_;
    QImage image_;
    MouseHandlers handlers_;
    QString status_;
    bool focusMarkShown_ = false;
};

// Draws the focus mark of `button` with the button's top-left corner at `origin`.
void paintFocusMark(QPainter& painter, const QtPictureButton& button, QPoint origin);

// The colour an image button shows as transparent.
inline constexpr QRgb kSeeThroughKeyColour = 0xFFBEBEBE; // RGB(190, 190, 190)

// The image with every opaque pixel of the key colour made fully transparent.
QImage withKeyColourTransparent(const QImage& image, QRgb key = kSeeThroughKeyColour);

} // namespace murmora::qt
