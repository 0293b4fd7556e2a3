#include "platform/qt/qt_controls.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "platform/qt/qt_accessibility.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_picture.h"
#include "platform/qt/qt_texts.h"

namespace murmora::qt {

namespace {

int buttonBit(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return kLeftButton;
    case Qt::RightButton:
        return kRightButton;
    case Qt::MiddleButton:
        return kMiddleButton;
    default:
        return 0;
    }
}

int buttonSet(Qt::MouseButtons buttons) {
    int set = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & button) set |= buttonBit(button);
    }
    return set;
}

} // namespace

QtLabel::QtLabel(QWidget* parent, const QRect& geometry) : QLabel(parent) {
    setGeometry(geometry);
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
}

void QtLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !text().isEmpty())
        event->accept();
    else
        event->ignore();
}

QtTextBox::QtTextBox(QWidget* parent, const QRect& geometry) : QLineEdit(parent) {
    setGeometry(geometry);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (onEditFinished_) onEditFinished_();
    });
}

void QtTextBox::keyPressEvent(QKeyEvent* event) {
    const int steps = event->key() == Qt::Key_Up ? 1 : event->key() == Qt::Key_Down ? -1 : 0;
    if (steps == 0 || !onStep_ || event->modifiers() != Qt::NoModifier) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    onStep_(steps);
    event->accept();
}

QtSpinner::QtSpinner(QWidget* parent, const QRect& geometry, int minimum, int maximum)
    : QScrollBar(Qt::Vertical, parent) {
    installAccessibleInterfaces();
    setGeometry(geometry);
    setFocusPolicy(Qt::TabFocus);
    setRange(-maximum, -minimum);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    QAbstractSlider::setValue(-minimum);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (onChange_) onChange_();
        // The scroll bar told of its own, negated value.
        QAccessibleValueChangeEvent event(this, value());
        QAccessible::updateAccessibility(&event);
    });
}

void QtSpinner::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

QtCheckBox::QtCheckBox(QWidget* parent, const QRect& geometry, const QString& caption) : QCheckBox(caption, parent) {
    setGeometry(geometry);
}

QtTimer::QtTimer() {
    timer_.setInterval(1000);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (onTick_) onTick_();
    });
}

void QtTimer::setEnabled(bool enabled) {
    // Enabling a running timer leaves its interval running, as disabling a stopped one does nothing.
    if (enabled && !timer_.isActive()) timer_.start();
    if (!enabled) timer_.stop();
}

QtPictureButton::QtPictureButton(QWidget* parent, const panel_layout::ButtonPlace& place)
    : QAbstractButton(parent), seeThrough_(place.seeThrough) {
    installAccessibleInterfaces();
    setGeometry(toQRect(place.box));
    setToolTip(uiText(place.tooltip));
    setAccessibleName(uiText(place.accessibleName));
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    // The keyboard's and screen readers' presses, as the mouse's in the middle of the button.
    const auto middle = [this] { return QPointF(width() / 2.0, height() / 2.0); };
    connect(this, &QAbstractButton::pressed, this, [this, middle] { report(handlers_.down, kLeftButton, middle()); });
    connect(this, &QAbstractButton::clicked, this, [this, middle] { report(handlers_.up, kLeftButton, middle()); });
}

void QtPictureButton::setPicture(const Picture& picture) {
    image_ = seeThrough_ ? withKeyColourTransparent(imageOf(picture)) : imageOf(picture);
    update();
}

void QtPictureButton::setStatusText(const std::string& status) {
    const QString text = QString::fromStdString(status);
    if (text == status_) return;
    const bool pressedBefore = !status_.isEmpty();
    status_ = text;
    setAccessibleDescription(status_);
    if (pressedBefore == status_.isEmpty()) {
        QAccessible::State pressed;
        pressed.pressed = true;
        QAccessibleStateChangeEvent event(this, pressed);
        QAccessible::updateAccessibility(&event);
    }
}

PixelBox QtPictureButton::pictureBox() const {
    const PixelBox box = opaqueBox(std::min(image_.width(), width()), std::min(image_.height(), height()),
                                   [this](int x, int y) { return qAlpha(image_.pixel(x, y)) != 0; });
    return box.empty() ? PixelBox{0, 0, width(), height()} : box;
}

void QtPictureButton::setFocusMarkShown(bool shown) {
    if (shown == focusMarkShown_) return;
    focusMarkShown_ = shown;
    update();
}

void QtPictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!image_.isNull()) painter.drawImage(0, 0, image_);
    if (focusMarkShown_) paintFocusMark(painter, *this, {0, 0});
}

void paintFocusMark(QPainter& painter, const QtPictureButton& button, QPoint origin) {
    const FocusRing ring = focusRingAround(button.pictureBox());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(kFocusRingRgb), kFocusRingPenPixels));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(ring.left, ring.top, ring.width, ring.height).translated(origin), ring.radius,
                            ring.radius);
    painter.restore();
}

void QtPictureButton::mousePressEvent(QMouseEvent* event) {
    report(handlers_.down, buttonBit(event->button()), event->position());
}

void QtPictureButton::mouseMoveEvent(QMouseEvent* event) {
    report(handlers_.move, buttonSet(event->buttons()), event->position());
}

void QtPictureButton::mouseReleaseEvent(QMouseEvent* event) {
    report(handlers_.up, buttonBit(event->button()), event->position());
}

void QtPictureButton::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter) {
        // Held down, Enter clicks once.
        if (!event->isAutoRepeat() && !isDown()) animateClick();
        return;
    }
    const bool wasDown = isDown();
    QAbstractButton::keyPressEvent(event); // Space, Escape, and the arrows, which move the focus
    reportGivenUp(wasDown);
}

void QtPictureButton::focusOutEvent(QFocusEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::focusOutEvent(event);
    reportGivenUp(wasDown);
}

void QtPictureButton::changeEvent(QEvent* event) {
    const bool wasDown = isDown();
    QAbstractButton::changeEvent(event);
    reportGivenUp(wasDown);
}

void QtPictureButton::reportGivenUp(bool wasDown) const {
    // One pixel up and to the left: off every button's active area.
    if (wasDown && !isDown()) report(handlers_.move, kLeftButton, QPointF(-1, -1));
}

void QtPictureButton::report(const MouseHandler& handler, int buttons, QPointF at) const {
    if (!handler) return;
    handler(buttons, at.x(), at.y());
}

QImage withKeyColourTransparent(const QImage& image, QRgb key) {
    if (image.isNull()) return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if (row[x] == key) row[x] = qRgba(0, 0, 0, 0);
        }
    }
    return out;
}

} // namespace murmora::qt
