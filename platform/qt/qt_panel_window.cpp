#include "platform/qt/qt_panel_window.h"
#include "platform/qt/qt_texts.h"

#include <cmath>

#include <QCloseEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace murmora::qt {

namespace {

// The panel's dark rim, behind whatever the skin does not cover.
const QColor kPanelBackdrop(18, 20, 23);
// Dark lettering for the green display area of the skin.
const QColor kDisplayText(28, 40, 24);

} // namespace

void setDesignFont(QWidget* window, int points) {
    QFont font = window->font();
    font.setPointSize(points);
    window->setFont(font);
}

QtPanelWindow::QtPanelWindow()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      minimizeButton(new SeeThroughButton(this, {9, 8, 25, 25}, uiText("Minimize"))),
      recordButton(new QtPictureButton(this, {31, 8, 100, 21}, uiText("Record/Stop File Play"))),
      closeButton(new SeeThroughButton(this, {136, 8, 25, 25}, uiText("Close"))),
      stopButton(new SeeThroughButton(this, {104, 64, 55, 55}, uiText("Stop Recording"))),
      convertButton(new SeeThroughButton(this, {64, 110, 55, 55}, uiText("Convert Wav To mp3"))),
      playButton(new SeeThroughButton(this, {144, 110, 55, 55}, uiText("Play File"))),
      scheduleButton(new SeeThroughButton(this, {104, 155, 55, 55}, uiText("Set Recording Schedule"))),
      secondsLabel(new QtLabel(this, {10, 67, 94, 17})), sizeLabel(new QtLabel(this, {10, 51, 105, 17})),
      copyrightLabel(new QtLabel(this, {10, 136, 65, 17})), versionLabel(new QtLabel(this, {10, 152, 49, 17})),
      scheduleCaptionLabel(new QtLabel(this, {10, 88, 57, 17})),
      scheduleTimeLabel(new QtLabel(this, {10, 104, 49, 33})), announcer(new QtAnnouncer(*this)) {
    setObjectName(QStringLiteral("panel"));
    setWindowTitle(QStringLiteral("Murmora"));
    setFixedSize(kPanelWidth, kPanelHeight);
    move(kPanelLeft, kPanelTop);
    setDesignFont(this, kDisplayFontPoints);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, kDisplayText);
    setPalette(colours);
    scheduleTimeLabel->setWordWrap(true);
    // Its tooltip "Record/Stop File Play" says little of what the button does.
    recordButton->setAccessibleName(uiText("Record"));
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
    painter.fillRect(rect(), kPanelBackdrop);
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
