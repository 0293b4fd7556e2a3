#include "platform/qt/qt_level_display.h"
#include "platform/qt/qt_texts.h"

#include <algorithm>
#include <cmath>

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/qt_accessibility.h"
#include "platform/qt/qt_panel_layout.h"
#include "platform/qt/qt_panel_window.h"

namespace murmora::qt {

namespace {

// The display's ink: the panel gives its text colour to every control on it.
QColor displayInk(const QWidget& widget) { return widget.palette().color(QPalette::WindowText); }

} // namespace

LevelBar::LevelBar(QtPanelWindow& panel) : QWidget(&panel), panel_(panel) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("levelBar"));
    setAccessibleName(uiText("Input level"));
    setGeometry(toQRect(panel_layout::kLevelBar));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // The bar paints the skin beside it itself, so that a new length repaints just the pixels
    // between the old end and the new, about 20 times a second, and nothing of the panel beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void LevelBar::setLevel(double dbfs) {
    // Screen readers are not told of each change, about 20 a second: they would speak them as
    // they come (Orca as a share of the range every 10 s). They read the level when asked.
    shownDbfs_ = levelOnScale(dbfs);
    const int length = levelBarLength(dbfs, width());
    if (length == lengthPixels_) return;
    const int changedFrom = std::min(length, lengthPixels_);
    const int changedWidth = std::abs(length - lengthPixels_);
    lengthPixels_ = length;
    // Painted at once: an update would be posted to the event loop, which wakes the thread
    // again only to paint these few pixels.
    repaint(changedFrom, 0, changedWidth, height());
}

void LevelBar::setClipped(bool clipped) { clipped_ = clipped; }

QString LevelBar::levelText() const { return QString::fromStdString(levelReading(shownDbfs_, clipped_)); }

void LevelBar::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect changed = event->rect();
    painter.drawImage(changed, panel_.background(), changed.translated(pos()));
    painter.fillRect(changed.intersected(QRect(0, 0, lengthPixels_, height())), displayInk(*this));
}

ClipMark::ClipMark(QtPanelWindow& panel) : QWidget(&panel) {
    setObjectName(QStringLiteral("clipMark"));
    setGeometry(toQRect(panel_layout::kClipMark));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void ClipMark::paintEvent(QPaintEvent*) { QPainter(this).fillRect(rect(), toQColor(panel_layout::kClipMarkRgb)); }

DisplayNote::DisplayNote(QtPanelWindow& panel) : QWidget(&panel), panel_(panel) {
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("displayNote"));
    setGeometry(toQRect(panel_layout::kNote));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setContentsMargins(2, 1, 1, 1);
    setDesignFont(this, panel_layout::kNoteFontPoints);
    hide();
}

void DisplayNote::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void DisplayNote::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), displayInk(*this));
    painter.setPen(panel_.background().pixelColor(geometry().center())); // the display's green here
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}

QtLevelDisplay::QtLevelDisplay(QtPanelWindow& panel)
    : bar_(new LevelBar(panel)), clipMark_(new ClipMark(panel)), note_(new DisplayNote(panel)) {}

void QtLevelDisplay::setLevel(double dbfs) {
    bar_->setLevel(dbfs);
    bar_->show();
}

void QtLevelDisplay::showClipMark() {
    clipMark_->show();
    bar_->setClipped(true);
}

void QtLevelDisplay::clear() {
    bar_->hide();
    clipMark_->hide();
    bar_->setClipped(false);
}

void QtLevelDisplay::showNote(const std::string& text) {
    note_->setText(QString::fromStdString(text));
    note_->raise();
    note_->show();
}

void QtLevelDisplay::hideNote() { note_->hide(); }

} // namespace murmora::qt
