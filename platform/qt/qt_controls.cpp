#include "platform/qt/qt_controls.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/qt_picture.h"

namespace murmora {

namespace {

int ButtonBit(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton: return LeftButton;
    case Qt::RightButton: return RightButton;
    case Qt::MiddleButton: return MiddleButton;
    default: return 0;
    }
}

int ButtonSet(Qt::MouseButtons buttons) {
    int set = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        if (buttons & button) set |= ButtonBit(button);
    }
    return set;
}

int ShiftSet(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
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

QtTextBox::QtTextBox(QWidget* parent, const QRect& geometry) : QLineEdit(parent) { setGeometry(geometry); }

QtScrollBar::QtScrollBar(QWidget* parent, const QRect& geometry, int minimum, int maximum)
    : QScrollBar(Qt::Vertical, parent) {
    setGeometry(geometry);
    setRange(-maximum, -minimum);
    setSingleStep(1);
    setPageStep(1);
    setTracking(false);
    setValue(-minimum);
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

void QtTimer::SetEnabled(bool enabled) {
    // Enabling a running timer leaves its interval running, as disabling a stopped one does nothing.
    if (enabled && !timer_.isActive()) timer_.start();
    if (!enabled) timer_.stop();
}

PictureControl::PictureControl(QWidget* parent, const QRect& geometry, const QString& toolTip,
                               const ScreenMetrics& screen)
    : QWidget(parent), screen_(screen) {
    setGeometry(geometry);
    setToolTip(toolTip);
    setMouseTracking(true);
}

void PictureControl::ShowImage(QImage image) {
    image_ = std::move(image);
    update();
}

void PictureControl::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void PictureControl::mousePressEvent(QMouseEvent* event) { Report(handlers_.down, ButtonBit(event->button()), event); }

void PictureControl::mouseMoveEvent(QMouseEvent* event) { Report(handlers_.move, ButtonSet(event->buttons()), event); }

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    Report(handlers_.up, ButtonBit(event->button()), event);
}

void PictureControl::Report(const MouseHandler& handler, int button, const QMouseEvent* event) const {
    if (!handler) return;
    const QPointF at = event->position();
    handler(button, ShiftSet(event->modifiers()), static_cast<float>(at.x() * screen_.TwipsPerPixelX()),
            static_cast<float>(at.y() * screen_.TwipsPerPixelY()));
}

void QtPictureBox::SetPicture(const Picture& picture) { ShowImage(ImageOf(picture)); }

void SeeThroughPicture::SetPicture(const Picture& picture, float, float) {
    ShowImage(WithKeyColourTransparent(ImageOf(picture)));
}

QImage WithKeyColourTransparent(const QImage& image, QRgb key) {
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
