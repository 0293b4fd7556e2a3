#include "platform/qt/qt_panel_window.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_texts.h"

#include <cmath>

#include <QCloseEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace murmora::qt {

namespace {

QtLabel* placedLabel(QWidget* panel, const panel_layout::Box& box) { return new QtLabel(panel, toQRect(box)); }

} // namespace

void setDesignFont(QWidget* window, int points) {
    QFont font = window->font();
    font.setPointSize(points);
    window->setFont(font);
}

QtPanelWindow::QtPanelWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      minimizeButton(new QtPictureButton(this, panel_layout::kMinimizeButton)),
      recordButton(new QtPictureButton(this, panel_layout::kRecordButton)),
      closeButton(new QtPictureButton(this, panel_layout::kCloseButton)),
      stopButton(new QtPictureButton(this, panel_layout::kStopButton)),
      convertButton(new QtPictureButton(this, panel_layout::kConvertButton)),
      playButton(new QtPictureButton(this, panel_layout::kPlayButton)),
      scheduleButton(new QtPictureButton(this, panel_layout::kScheduleButton)),
      secondsLabel(placedLabel(this, panel_layout::kSecondsLabel)),
      sizeLabel(placedLabel(this, panel_layout::kSizeLabel)),
      copyrightLabel(placedLabel(this, panel_layout::kCopyrightLabel)),
      versionLabel(placedLabel(this, panel_layout::kVersionLabel)),
      scheduleCaptionLabel(placedLabel(this, panel_layout::kScheduleCaptionLabel)),
      scheduleTimeLabel(placedLabel(this, panel_layout::kScheduleTimeLabel)), announcer(new QtAnnouncer(*this)) {
    setObjectName(QStringLiteral("panel"));
    setWindowTitle(QStringLiteral("Murmora"));
    const QRect place = toQRect(panel_layout::kWindow);
    setFixedSize(place.size());
    move(place.topLeft());
    setDesignFont(this, panel_layout::kDisplayFontPoints);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, toQColor(panel_layout::kDisplayInkRgb));
    setPalette(colours);
    scheduleTimeLabel->setWordWrap(true);
    const auto buttons = buttonsInReadingOrder();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->installEventFilter(this);
        if (i > 0) setTabOrder(buttons[i - 1], buttons[i]);
    }
    recordButton->setFocus();
}

std::array<QtPictureButton*, 7> QtPanelWindow::buttonsInReadingOrder() const {
    return {minimizeButton, recordButton, closeButton, stopButton, convertButton, playButton, scheduleButton};
}

const QtPictureButton* QtPanelWindow::markedButton() const {
    for (const QtPictureButton* button : buttonsInReadingOrder())
        if (button->showsFocusMark()) return button;
    return nullptr;
}

bool QtPanelWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* button = static_cast<QtPictureButton*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        keyboardUsed_ = true;
        updateFocusMark(*button);
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) keyboardUsed_ = true;
        updateFocusMark(*button);
        break;
    }
    default:
        break;
    }
    return false;
}

void QtPanelWindow::updateFocusMark(QtPictureButton& button) {
    const bool shown = keyboardUsed_ && button.hasFocus();
    if (shown == button.showsFocusMark()) return;
    button.setFocusMarkShown(shown);
    const int reach = static_cast<int>(std::ceil(kFocusRingGapPixels + kFocusRingPenPixels));
    update(button.geometry().adjusted(-reach, -reach, reach, reach));
}

void QtPanelWindow::setBackground(QImage skin) {
    skin_ = std::move(skin);
    update();
}

void QtPanelWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(panel_layout::kBackdropRgb));
    painter.drawImage(0, 0, skin_);
    if (const QtPictureButton* button = markedButton()) paintFocusMark(painter, *button, button->pos());
}

void QtPanelWindow::mousePressEvent(QMouseEvent* event) {
    // With the left button the window manager moves the window as if its title bar were held.
    // Its move follows the left button alone (with another it would go on after the release),
    // so other buttons, and a system without such a move, move the window by hand until the
    // button is let go.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove()) return;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void QtPanelWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && event->buttons() != Qt::NoButton) move(event->globalPosition().toPoint() - *dragOffset_);
}

void QtPanelWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) dragOffset_.reset();
}

void QtPanelWindow::closeEvent(QCloseEvent* event) {
    // The window stays until the program ends, which may not be now: the user may keep a take.
    event->ignore();
    if (onSystemClose) onSystemClose();
}

} // namespace murmora::qt
