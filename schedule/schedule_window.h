#pragma once
#include <cstdint>
#include <string>

#include "schedule/schedule_trigger.h"
#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// Why the schedule window is being closed.
enum UnloadMode : std::int16_t {
    vbFormControlMenu = 0,  // the user closed it with its close box or system menu
    vbFormCode = 1,         // the program unloads it at shutdown
};

// The schedule window Form2: start time, duration, target file and "Activate".
class ScheduleWindow {
public:
    ScheduleWindow(Context& ctx, ResourcePictures& pictures, ScheduleTrigger& trigger)
        : ctx_(ctx), pictures_(pictures), trigger_(trigger) {}

    // Loads the window hidden: each spinner's change rewrites its text box.
    void FormLoad();
    // The target path for a scheduled take when the user has chosen none.
    std::string DefaultTargetPath() const;

    // The release action of the main window's SeeThroughTime button.
    void OpenAction();
    // The "File" button.
    void Command1Click();
    // Runs whenever the window is about to be unloaded; set `cancel` to keep it loaded.
    void QueryUnload(std::int16_t& cancel, std::int16_t unloadMode);

private:
    // Shows the start time on the main window and arms the schedule; false, with the
    // window left open, when the duration is zero.
    bool Arm();
    // Names a target whose folder is missing, or one already there. Nothing is deleted: the take
    // replaces an existing file only when it is saved over it, so a cancelled schedule, a take
    // that fails or the program's end never cost the old file.
    void TellAboutTarget();

    Context& ctx_;
    ResourcePictures& pictures_;
    ScheduleTrigger& trigger_;
};

} // namespace murmora
