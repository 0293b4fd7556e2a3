#include "platform/qt/shaped_form_window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace murmora {

namespace {

// The panel's dark rim, behind whatever the skin does not cover.
const QColor PanelBackdrop(18, 20, 23);
// Dark lettering for the green display area of the skin.
const QColor DisplayText(28, 40, 24);

QPushButton* HiddenCommand(QWidget* parent, const char* name) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->hide();
    return button;
}

} // namespace

void setDesignFont(QWidget* window, int points) {
    QFont font = window->font();
    font.setPointSize(points);
    window->setFont(font);
}

ShapedFormWindow::ShapedFormWindow(const ScreenMetrics& screen)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      PictureRecord(new QtPictureButton(this, {31, 8, 100, 21}, tr("Record/Stop File Play"), screen)),
      SeeThroughMin(new SeeThroughButton(this, {9, 8, 25, 25}, tr("Minimize"), screen)),
      SeeThroughClose(new SeeThroughButton(this, {136, 8, 25, 25}, tr("Close"), screen)),
      SeeThroughCut(new SeeThroughButton(this, {104, 64, 55, 55}, tr("Stop Recording"), screen)),
      SeeThroughWav(new SeeThroughButton(this, {64, 110, 55, 55}, tr("Convert Wav To mp3"), screen)),
      SeeThroughPlay(new SeeThroughButton(this, {144, 110, 55, 55}, tr("Play File"), screen)),
      SeeThroughTime(new SeeThroughButton(this, {104, 155, 55, 55}, tr("Set Recording Schedule"), screen)),
      Label1(new QtLabel(this, {10, 67, 81, 17})),
      Label2(new QtLabel(this, {10, 51, 105, 17})),
      Label3(new QtLabel(this, {10, 136, 65, 17})),
      Label4(new QtLabel(this, {10, 152, 49, 17})),
      Label5(new QtLabel(this, {10, 88, 57, 17})),
      Label6(new QtLabel(this, {10, 104, 49, 33})),
      Command1(HiddenCommand(this, "Command1")),
      Command2(HiddenCommand(this, "Command2")),
      Command3(HiddenCommand(this, "Command3")),
      Command4(HiddenCommand(this, "Command4")) {
    setObjectName(QStringLiteral("ShapedForm"));
    setWindowTitle(QStringLiteral("Murmora"));
    setFixedSize(PanelWidth, PanelHeight);
    move(PanelLeft, PanelTop);
    setDesignFont(this, DisplayFontPoints);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, DisplayText);
    setPalette(colours);
    Label6->setWordWrap(true);
}

void ShapedFormWindow::setBackground(QImage skin) {
    skin_ = std::move(skin);
    update();
}

void ShapedFormWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), PanelBackdrop);
    painter.drawImage(0, 0, skin_);
}

void ShapedFormWindow::mousePressEvent(QMouseEvent* event) {
    // With the left button the window manager moves the window as if its title bar were held.
    // Its move follows the left button alone (with another it would go on after the release),
    // so other buttons, and a system without such a move, move the window by hand until the
    // button is let go.
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove()) return;
    dragOffset_ = event->globalPosition().toPoint() - pos();
}

void ShapedFormWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && event->buttons() != Qt::NoButton) move(event->globalPosition().toPoint() - *dragOffset_);
}

void ShapedFormWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) dragOffset_.reset();
}

void ShapedFormWindow::closeEvent(QCloseEvent* event) {
    if (onSystemClose) onSystemClose();
    event->accept();
}

} // namespace murmora
