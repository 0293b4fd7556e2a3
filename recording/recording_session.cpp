#include "recording/recording_session.h"

// Placeholder bodies so the panel links while the recording rules are written.
namespace murmora {
void RecordingSession::Command1Click() {}
void RecordingSession::Command2Click() {}
void RecordingSession::PictureRecordMouseDown(int, int, float, float) {}
void RecordingSession::PictureRecordMouseMove(int, int, float, float) {}
void RecordingSession::PictureRecordMouseUp(int, int, float, float) {}
bool RecordingSession::CutButtonActive() const { return ctx_.m.RecordingState == RecorderBusy; }
void RecordingSession::SeeThroughCutMouseUp(int, int, float, float) {}
void RecordingSession::Timer1Tick() {}
void RecordingSession::Timer3Tick() {}
} // namespace murmora
