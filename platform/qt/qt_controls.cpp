#include "platform/qt/qt_controls.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/qt_picture.h"

namespace murmora {

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

void QtLabel::mousePressEvent(QMouseEvent* event) { event->accept(); }

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
    setGeometry(geometry);
    setRange(-maximum, -minimum);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    QAbstractSlider::setValue(-minimum);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (onChange_) onChange_();
    });
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

QtPictureButton::QtPictureButton(QWidget* parent, const QRect& geometry, const QString& toolTip,
                                 const ScreenMetrics& screen)
    : QWidget(parent), screen_(screen) {
    setGeometry(geometry);
    setToolTip(toolTip);
    setMouseTracking(true);
}

void QtPictureButton::setPicture(const Picture& picture) { showImage(imageOf(picture)); }

void QtPictureButton::showImage(QImage image) {
    image_ = std::move(image);
    update();
}

void QtPictureButton::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void QtPictureButton::mousePressEvent(QMouseEvent* event) { report(handlers_.down, buttonBit(event->button()), event); }

void QtPictureButton::mouseMoveEvent(QMouseEvent* event) { report(handlers_.move, buttonSet(event->buttons()), event); }

void QtPictureButton::mouseReleaseEvent(QMouseEvent* event) { report(handlers_.up, buttonBit(event->button()), event); }

void QtPictureButton::report(const MouseHandler& handler, int buttons, const QMouseEvent* event) const {
    if (!handler) return;
    const QPointF at = event->position();
    handler(buttons, static_cast<float>(at.x() * screen_.twipsPerPixelX()),
            static_cast<float>(at.y() * screen_.twipsPerPixelY()));
}

void SeeThroughButton::setPicture(const Picture& picture) { showImage(withKeyColourTransparent(imageOf(picture))); }

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

} // namespace murmora
