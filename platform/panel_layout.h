#pragma once
#include <cstdint>

#include "core/texts.h"

namespace murmora::panel_layout {

// Where everything of the record panel is and how its display is drawn, alike on every
// platform: each toolkit's window takes its places, texts and colours from here. Places are in
// the panel's pixels from its top-left corner, laid out on the skin's picture.

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }  // exclusive
    constexpr int bottom() const { return top + height; } // exclusive
};

struct ButtonPlace {
    Box box;
    const char* tooltip;
    // What screen readers call the button.
    const char* accessibleName;
    // The picture's key colour shows the skin through.
    bool seeThrough;
};

// On the screen: where the panel opens, and its size.
inline constexpr Box kWindow{410, 268, 204, 231};

// In reading order, which is the order of Tab and of the screen readers' list.
inline constexpr ButtonPlace kMinimizeButton{{9, 8, 25, 25}, textKey("Minimize"), textKey("Minimize"), true};
// Its tooltip "Record/Stop File Play" says little of what the button does.
inline constexpr ButtonPlace kRecordButton{
    {31, 8, 100, 21}, textKey("Record/Stop File Play"), textKey("Record"), false};
inline constexpr ButtonPlace kCloseButton{{136, 8, 25, 25}, textKey("Close"), textKey("Close"), true};
inline constexpr ButtonPlace kStopButton{{104, 64, 55, 55}, textKey("Stop Recording"), textKey("Stop Recording"), true};
inline constexpr ButtonPlace kConvertButton{
    {64, 110, 55, 55}, textKey("Convert Wav To mp3"), textKey("Convert Wav To mp3"), true};
inline constexpr ButtonPlace kPlayButton{{144, 110, 55, 55}, textKey("Play File"), textKey("Play File"), true};
inline constexpr ButtonPlace kScheduleButton{
    {104, 155, 55, 55}, textKey("Set Recording Schedule"), textKey("Set Recording Schedule"), true};

inline constexpr Box kSecondsLabel{10, 67, 94, 17};
inline constexpr Box kSizeLabel{10, 51, 105, 17};
inline constexpr Box kCopyrightLabel{10, 136, 65, 17};
inline constexpr Box kVersionLabel{10, 152, 49, 17};
inline constexpr Box kScheduleCaptionLabel{10, 88, 57, 17};
inline constexpr Box kScheduleTimeLabel{10, 104, 49, 33};

// The input level under the seconds, in a spot that was free, so it moves no text and a press
// on it drags the panel. The bar's whole width is 0 dBFS. The clip mark sits a pixel beyond a
// full bar and a row taller.
inline constexpr Box kLevelBar{10, 84, 50, 3};
inline constexpr Box kClipMark{61, 84, 4, 4};
// A note over the lower part of the display, inside its green.
inline constexpr Box kNote{8, 88, 53, 83};

// The panel's dark rim, behind whatever the skin does not cover.
inline constexpr std::uint32_t kBackdropRgb = 0x121417; // 18, 20, 23
// The lettering of the display's green; the note turns it round.
inline constexpr std::uint32_t kDisplayInkRgb = 0x1C2818; // 28, 40, 24
// The red of the record button's light.
inline constexpr std::uint32_t kClipMarkRgb = 0xCC1818; // 204, 24, 24

// The display is tight: "©" and the short name must end before the disc.
inline constexpr int kDisplayFontPoints = 7;
// The whole of the longest warning fits the note at this size.
inline constexpr int kNoteFontPoints = 6;

} // namespace murmora::panel_layout
