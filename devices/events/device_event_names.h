#pragma once

// The names under which a device posts its events to the host's main thread, one group per device kind
// under "Palpera/Events". The continuous probe's and the scanner's stop is "OnStop", the single-point
// probe's "StopEvent". A scanner has no probe radius, so no radius event.

#include <span>

namespace ContinuousEventNames {
inline constexpr const char* kGroup = "Palpera/Events/Continuous";
inline constexpr const char* kRadius = "Palpera/Events/Continuous/RadiusEvent";
inline constexpr const char* kStartCapture = "Palpera/Events/Continuous/StartCaptureEvent";
inline constexpr const char* kStopCapture = "Palpera/Events/Continuous/StopCaptureEvent";
inline constexpr const char* kMoved = "Palpera/Events/Continuous/MovedEvent";
inline constexpr const char* kSampled = "Palpera/Events/Continuous/SampledEvent";
inline constexpr const char* kStop = "Palpera/Events/Continuous/OnStop";
inline constexpr const char* kCustom = "Palpera/Events/Continuous/CustomEvent";
// In the order the device registers them.
inline constexpr const char* kAll[] = {kRadius,  kStartCapture, kStopCapture, kMoved,
                                       kSampled, kStop,         kCustom};
}  // namespace ContinuousEventNames

namespace SingleEventNames {
inline constexpr const char* kGroup = "Palpera/Events/Single";
inline constexpr const char* kRadius = "Palpera/Events/Single/RadiusEvent";
inline constexpr const char* kMoved = "Palpera/Events/Single/MovedEvent";
inline constexpr const char* kSampled = "Palpera/Events/Single/SampledEvent";
inline constexpr const char* kStop = "Palpera/Events/Single/StopEvent";
inline constexpr const char* kCustom = "Palpera/Events/Single/CustomEvent";
inline constexpr const char* kAll[] = {kRadius, kMoved, kSampled, kStop, kCustom};
}  // namespace SingleEventNames

namespace LaserScanEventNames {
inline constexpr const char* kGroup = "Palpera/Events/LaserScan";
inline constexpr const char* kStartCapture = "Palpera/Events/LaserScan/StartCaptureEvent";
inline constexpr const char* kStopCapture = "Palpera/Events/LaserScan/StopCaptureEvent";
inline constexpr const char* kMoved = "Palpera/Events/LaserScan/MovedEvent";
inline constexpr const char* kSampled = "Palpera/Events/LaserScan/SampledEvent";
inline constexpr const char* kStop = "Palpera/Events/LaserScan/OnStop";
inline constexpr const char* kCustom = "Palpera/Events/LaserScan/CustomEvent";
inline constexpr const char* kAll[] = {kStartCapture, kStopCapture, kMoved, kSampled, kStop, kCustom};
}  // namespace LaserScanEventNames

// Registers the group, then each name in order, as an integer item with default, range and flags 0: the host
// delivers posted events only under names it knows. A device does so when it is made; without the host's data
// store nothing is registered.
void registerDeviceEventNames(const char* group, std::span<const char* const> names);
