#pragma once
#include "platform/picture.h"

namespace murmora {

class Region;

// What the rules ask of the program's windows as whole windows.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void SetBackgroundPicture(const Picture& picture) = 0;
    virtual void MinimizeMain() = 0;
    // Sets the main window's outline: only the region's pixels are drawn and get the mouse.
    virtual void SetWindowRgn(const Region& region, bool redraw) = 0;
    // Shows the schedule window modally; returns once it is hidden again.
    virtual void ShowForm2Modal() = 0;
    virtual void HideForm2() = 0;
    virtual void UnloadForm1() = 0;
    virtual void UnloadForm2() = 0;
    // Ends the program once the current handler has returned.
    virtual void EndProgram() = 0;
};

} // namespace murmora
