#pragma once
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "platform/regions.h"

namespace murmora {

// Members of the main window, with the values they hold before start-up.
struct ShapedFormMembers {
    RegionHandle ShapeRegion = 0;
    std::string CaptureReply = std::string(1024, '\0');
    std::int16_t CutButtonState = 0;
    std::int16_t PlayButtonState = 0;
    std::int16_t WavButtonState = 0;
    std::int16_t TimeButtonState = 0;
    std::int16_t RecordButtonState = 0;
    std::int16_t MinButtonState = 0;
    std::int16_t CloseButtonState = 0;
    std::int16_t RecordingState = 0;   // 1 idle, 2 while the device capture records
    std::string ConvertSourceFile;
    std::string ConvertTargetFile;
    std::int32_t RecordSeconds = 0;
    DateTime RecordStartTime = 0;
    std::string PlayFileName;
    std::string MciResult;
    std::string PlayOpenCommand;
    std::string PlayMode;
    bool AutoRecording = false;
    // True from a manual stop until its take has been saved or discarded: the device
    // capture still holds that take although the recorder reads idle.
    bool CaptureSavePending = false;
};

inline constexpr std::int16_t RecorderIdle = 1;
inline constexpr std::int16_t RecorderBusy = 2;
inline constexpr std::int16_t ButtonReleased = 0;
inline constexpr std::int16_t ButtonPressed = 2;

// Module-level values: one copy for the whole program.
struct Module1 {
    bool LastSaveScheduled = false;
    bool HotkeyRecordRegistered = false;
    bool HotkeyStopRegistered = false;

    // The recording schedule.
    DateTime ScheduleBase = 0;
    std::string CurrentTimeText;
    std::int32_t CurrentHour = 0;
    std::int32_t CurrentMinute = 0;
    std::int32_t CurrentSecond = 0;
    std::string CurrentAmPm;
    std::int32_t PmOffsetSeconds = 0;
    std::int32_t CurrentTimeSeconds = 0;
    std::int32_t AlarmTimeSeconds = 0;
    std::int32_t StartDelaySeconds = 0;
    std::int32_t SecondsSinceSchedule = 0;
    std::int32_t AutoDurationSeconds = 0;
    std::string AutoSavePath;
    DateTime AutoStartTime = 0;
    std::int32_t AutoElapsedSeconds = 0;
};

} // namespace murmora
