#pragma once

// Where the alignment commands report their assertions from: the source names and, where they have one, the
// line numbers the host's assertion log has always shown for them, so that a log reads the same whichever
// file of ours the check now sits in. Checks without a fixed line report their own.

namespace assertion_sites {

inline constexpr const char* kDeviceToPartSource = "palperadevicetopartalignmentcmd";
inline constexpr const char* kIterativeSource = "palperaiterativealignmentcmd";

inline constexpr int kMarkersLine = 940;
inline constexpr int kMarkersPlaneLine = 981;
inline constexpr int kSurfaceInputLine = 1168;
inline constexpr int kPointWidgetLine = 1246;
inline constexpr int kReferenceObjectLine = 1304;
inline constexpr int kModifierLine = 1968;

}  // namespace assertion_sites
