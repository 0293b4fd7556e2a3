#pragma once
#include "platform/picture.h"
#include "core/regions.h"

namespace murmora {

// What the rules ask of the program's windows as whole windows: the panel and the schedule window.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // The panel's skin.
    virtual void setPanelBackground(const Picture& picture) = 0;
    virtual void minimizePanel() = 0;
    // Only the pixels of the outline's shapes, united, of the panel are drawn and get the mouse;
    // it is redrawn at once.
    virtual void setPanelOutline(const Outline& outline) = 0;
    // Shows the schedule window modally; returns once it is hidden again.
    virtual void showScheduleWindow() = 0;
    virtual void hideScheduleWindow() = 0;
    virtual void unloadScheduleWindow() = 0;
    // Ends the program once the current handler has returned.
    virtual void endProgram() = 0;
};

} // namespace murmora
