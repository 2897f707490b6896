#pragma once

// How well the points of a rigid fit fix the move fitted to them, judged where it matters: at the far ends of
// the part the move carries. Each point is either held in all three directions (a pair of a reference and
// its target) or only along the normal of the surface it lies on; the probing error of each then moves the
// fitted move by the least squares, and a point far from the fit's points moves by the turn this allows
// times its distance. The bound follows from the points' geometry alone, so it is known before a run ends.

#include <vector>

#include "basic_types/vector3.h"

// Metres, one standard deviation of a probed point: what the emulator's default noise gives a 6 mm ball
// (uniform within 1% of its diameter), and about a portable arm's single-point repeatability.
inline constexpr double kProbingError = 0.035e-3;

// A point of the fit; the zero normal for a point held in all three directions.
struct FitPoint {
  Vector3 point;
  Vector3 normal;
};

// Metres: the furthest that the move fitted to the points, each off by error (one standard deviation) in the
// directions it is held, may put any of the far points off its true place, at two standard deviations in
// its worst direction. Infinite without points, or where the points leave a turn or a shift of the move
// unfixed.
double fitSpreadAt(const std::vector<FitPoint>& points, const std::vector<Vector3>& farPoints, double error);
