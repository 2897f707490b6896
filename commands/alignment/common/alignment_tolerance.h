#pragma once

// The tolerance the points of an alignment are to meet, one setting for the alignments that pair probed
// points with their references, and the question an alignment asks before it keeps points beyond it. Main
// thread only.

inline constexpr const char* kAlignmentToleranceKey = "Palpera/IterativeAlignment/Tolerance";
// Metres, as the setting is registered.
inline constexpr double kDefaultAlignmentTolerance = 0.001;

// The setting's value, or the default without a data store.
double alignmentTolerance();

// Asks, by the cursor, "One or more points are out of tolerance. Probe the failed points again?"; true for
// yes, false for any other answer or without a dialog.
bool askToProbeFailedPointsAgain();
