#pragma once
#include "shell/context.h"
#include "shell/resource_pictures.h"

namespace murmora {

// One take at a time from the default input: the start by the record button or Command1,
// the stop by the Cut button or Command2, the save, the seconds display and the scheduled stop.
class RecordingSession {
public:
    RecordingSession(Context& ctx, ResourcePictures& pictures) : ctx_(ctx), pictures_(pictures) {}

    void Command1Click();
    void Command2Click();

    void PictureRecordMouseDown(int button, int shift, float x, float y);
    void PictureRecordMouseMove(int button, int shift, float x, float y);
    void PictureRecordMouseUp(int button, int shift, float x, float y);

    // The Cut button's mouse-down and mouse-move count only during a take.
    bool CutButtonActive() const;
    void SeeThroughCutMouseUp(int button, int shift, float x, float y);

    void Timer1Tick();
    void Timer3Tick();

private:
    Context& ctx_;
    ResourcePictures& pictures_;
};

} // namespace murmora
