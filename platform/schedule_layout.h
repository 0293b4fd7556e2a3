#pragma once
#include "core/texts.h"
#include "platform/panel_layout.h"

namespace murmora::schedule_layout {

// Where everything of the schedule window is, alike on every platform: each toolkit's window
// takes its places and texts from here and converts the twips to the screen's pixels. A frame's
// place is from the window's client corner; what stands in a frame is placed from the frame's
// corner.

using Box = panel_layout::Box; // in twips

struct Frame {
    Box box;
    const char* caption;
};

// The right-hand frames are as wide as their titles need in every toolkit's lettering and every
// language ("Set Recording Duration" was cut at its end in 2055 twips in Windows' Tahoma).
inline constexpr int kRightFrameWidth = 2295;
inline constexpr Frame kStartFrame{{120, 100, 2775, 1575}, textKey("Set Recording Time")};
inline constexpr Frame kDurationFrame{{3000, 100, kRightFrameWidth, 1575}, textKey("Set Recording Duration")};
inline constexpr Frame kTargetFrame{{120, 1790, 2775, 735}, textKey("Save As")};
inline constexpr Frame kActivateFrame{{3000, 1790, kRightFrameWidth, 735}, textKey("AutoRecord")};

inline constexpr int kClientWidth = kDurationFrame.box.right() + 120;
inline constexpr int kClientHeight = 2610;

struct Range {
    int minimum;
    int maximum;
};

// A number the user sets, in a column of its frame: the heading, below it a box that takes
// typing, and below that the spinner that steps the box over its range.
struct Field {
    const Frame* frame;
    int column; // the box's left
    int headingLeft;
    int headingWidth;
    const char* headingText;
    Range range;
    // What screen readers call the box and its spinner.
    const char* accessibleName;

    constexpr Box heading() const { return {headingLeft, 240, headingWidth, 255}; }
    constexpr Box box() const { return {column, 480, 495, 285}; }
    constexpr Box spinner() const { return {column + 120, 840, 255, 615}; }
};

// In reading order, which is the order of Tab.
// TRANSLATORS: the headings above the schedule window's small boxes; keep them as short.
inline constexpr Field kStartHour{&kStartFrame, 120, 240, 255, textKey("hr"), {1, 12}, textKey("Start hour")};
inline constexpr Field kStartMinute{&kStartFrame, 720, 840, 375, textKey("min"), {0, 59}, textKey("Start minute")};
inline constexpr Field kStartSecond{&kStartFrame, 1320, 1440, 375, textKey("sec"), {0, 59}, textKey("Start second")};
inline constexpr Field kDayHalf{&kStartFrame, 1920, 1920, 615, textKey("AM/PM"), {1, 2}, textKey("Start AM/PM")};
inline constexpr Field kDurationHours{&kDurationFrame,          120, 240, 375, textKey("hrs"), {0, 9},
                                      textKey("Duration hours")};
inline constexpr Field kDurationMinutes{
    &kDurationFrame, 720, 840, 495, textKey("mins"), {0, 59}, textKey("Duration minutes")};
inline constexpr Field kDurationSeconds{
    &kDurationFrame, 1320, 1440, 495, textKey("secs"), {0, 59}, textKey("Duration seconds")};
inline constexpr const Field* kFields[] = {&kStartHour,     &kStartMinute,     &kStartSecond,    &kDayHalf,
                                           &kDurationHours, &kDurationMinutes, &kDurationSeconds};

// Then, in the target's frame, its button and box, and in the last frame the switch.
inline constexpr Box kChooseTargetButton{120, 260, 735, 350};
inline constexpr const char* kChooseTargetText = textKey("File");
inline constexpr const char* kChooseTargetDescription = textKey("Choose the file the scheduled recording is saved as");
inline constexpr Box kTargetPathBox{880, 290, 1815, 285};
inline constexpr const char* kTargetPathName = textKey("Target file");
inline constexpr Box kActivateCheckBox{120, 290, 1335, 255};
inline constexpr const char* kActivateText = textKey("Activate");

inline constexpr const char* kTitle = textKey("Murmora - Record Panel");

} // namespace murmora::schedule_layout
