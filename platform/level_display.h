#pragma once
#include <string>

namespace murmora {

// The input level bar and a note on the panel's display, for a take that is recording.
class LevelDisplay {
public:
    virtual ~LevelDisplay() = default;
    // Shows the bar for a level in dBFS on the scale of platform/level.h: empty at its foot
    // and below (silence is minus infinity), full at 0 dBFS.
    virtual void setLevel(double dbfs) = 0;
    // A mark at the bar's right end: the input has reached full scale. It stays until clear().
    virtual void showClipMark() = 0;
    // Takes the bar and its clip mark off the display: nothing of them is left on the skin.
    virtual void clear() = 0;
    // A note over the lower part of the display, until hideNote(); it holds nothing up.
    virtual void showNote(const std::string& text) = 0;
    virtual void hideNote() = 0;
};

} // namespace murmora
