#pragma once
#include <string>

#include <QString>
#include <QWidget>

#include "platform/level.h"
#include "platform/level_display.h"

namespace murmora::qt {

class QtPanelWindow;

// The input level as a bar on the panel's display, drawn in the display's own ink over the
// skin, where platform/panel_layout.h puts it. Screen readers read it as "Input level" with its
// level in dBFS on the bar's scale, and "clipped" beside it while the clip mark shows.
class LevelBar final : public QWidget {
public:
    explicit LevelBar(QtPanelWindow& panel);
    // Draws the bar for `dbfs`: the scale's fraction of the full width, in whole pixels.
    void setLevel(double dbfs);
    // The level shown, held to the bar's scale: its foot for anything quieter, 0 at full scale.
    double shownDbfs() const { return shownDbfs_; }
    // Whether the input has reached full scale in this take: the clip mark shows.
    void setClipped(bool clipped);
    // What screen readers say for the level shown: "-12 dBFS", "below -60 dBFS", "0 dBFS, clipped".
    QString levelText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtPanelWindow& panel_;
    int lengthPixels_ = 0;
    double shownDbfs_ = kLevelScaleFloorDbfs;
    bool clipped_ = false;
};

// The clip mark at the level bar's right end: a small block in the red of the record button's
// light. Presses pass through it.
class ClipMark final : public QWidget {
public:
    explicit ClipMark(QtPanelWindow& panel);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A note over the lower part of the display, in its colours turned round (green letters on
// its dark ink) so that it stands apart from the labels it covers while it shows. Presses pass
// through it. Screen readers take it for a notification and read its text when it shows.
class DisplayNote final : public QWidget {
public:
    explicit DisplayNote(QtPanelWindow& panel);
    const QString& text() const { return text_; }
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QtPanelWindow& panel_;
    QString text_;
};

// The level bar and the note on the record panel.
class QtLevelDisplay final : public LevelDisplay {
public:
    explicit QtLevelDisplay(QtPanelWindow& panel);
    void setLevel(double dbfs) override;
    void showClipMark() override;
    void clear() override;
    void showNote(const std::string& text) override;
    void hideNote() override;

private:
    LevelBar* const bar_;
    ClipMark* const clipMark_;
    DisplayNote* const note_;
};

} // namespace murmora::qt
