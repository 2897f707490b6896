#pragma once

// The settings of "Probe Capture" (registered with their defaults and ranges at start-up) and the host
// counters that number its objects.

namespace capture {

inline constexpr const char* kModeKey = "Palpera/ProbeCapture/Mode";
inline constexpr const char* kTimeRateKey = "Palpera/ProbeCapture/TimeRate";
inline constexpr const char* kDistanceRateKey = "Palpera/ProbeCapture/DistanceRate";
inline constexpr const char* kAutomaticViewResizeKey = "Palpera/ProbeCapture/AutomaticViewResize";
inline constexpr const char* kVirtualCameraKey = "Palpera/ProbeCapture/VirtualCamera";
inline constexpr const char* kMergeKey = "Palpera/ProbeCapture/Merge";
inline constexpr const char* kSamplingKey = "Palpera/ProbeCapture/Sampling";
inline constexpr const char* kSpacingKey = "Palpera/ProbeCapture/Spacing";
inline constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";
inline constexpr const char* kShowInfoKey = "Palpera/Tile/ShowInfo";

inline constexpr const char* kPointObjectCounter = "ProbeCapturePointObjectNumber";
inline constexpr const char* kGroupObjectCounter = "ProbeCaptureGroupObjectNumber";
inline constexpr const char* kMergedObjectCounter = "MergedObjectNumber";

}  // namespace capture
