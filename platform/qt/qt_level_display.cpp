#include "platform/qt/qt_level_display.h"

#include <algorithm>
#include <cmath>

#include <QPaintEvent>
#include <QPainter>

#include "platform/level.h"
#include "platform/qt/panel_window.h"

namespace murmora {

namespace {

// The display's ink: the panel gives its text colour to every control on it.
QColor displayInk(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }

} // namespace

LevelBar::LevelBar(PanelWindow& panel) : QWidget(&panel), panel_(panel) {
    setObjectName(QStringLiteral("levelBar"));
    setGeometry(kArea);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The bar paints the skin beside it itself, so that a new length repaints just the pixels
    // between the old end and the new, about 20 times a second, and nothing of the panel beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void LevelBar::setFraction(double fraction) {
    const int length = static_cast<int>(std::lround(fraction * width()));
    if (length == lengthPixels_) return;
    update(std::min(length, lengthPixels_), 0, std::abs(length - lengthPixels_), height());
    lengthPixels_ = length;
}

void LevelBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect changed = event->rect();
    painter.drawImage(changed, panel_.background(), changed.translated(pos()));
    painter.fillRect(changed.intersected(QRect(0, 0, lengthPixels_, height())), displayInk(*this));
}

ClipMark::ClipMark(PanelWindow& panel) : QWidget(&panel) {
    setObjectName(QStringLiteral("clipMark"));
    setGeometry(kArea);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ClipMark::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), kColour); }

DisplayNote::DisplayNote(PanelWindow& panel) : QWidget(&panel), panel_(panel) {
    setObjectName(QStringLiteral("displayNote"));
    setGeometry(kArea);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setContentsMargins(2, 1, 1, 1);
    setDesignFont(this, kFontPoints);
    hide();
}

void DisplayNote::setText(const QString& text) {
    text_ = text;
    update();
}

void DisplayNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), displayInk(*this));
    painter.setPen(panel_.background().pixelColor(geometry().center())); // the display's green here
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

QtLevelDisplay::QtLevelDisplay(PanelWindow& panel)
    : bar_(new LevelBar(panel)), clipMark_(new ClipMark(panel)), note_(new DisplayNote(panel)) {}

void QtLevelDisplay::setLevel(double dbfs) {
    bar_->setFraction(levelScaleFraction(dbfs));
    bar_->show();
}

void QtLevelDisplay::showClipMark() { clipMark_->show(); }

void QtLevelDisplay::clear() {
    bar_->hide();
    clipMark_->hide();
}

void QtLevelDisplay::showNote(const std::string& text) {
    note_->setText(QString::fromStdString(text));
    note_->raise();
    note_->show();
}

void QtLevelDisplay::hideNote() { note_->hide(); }

} // namespace murmora
