#pragma once

// How well the references of a move fix the move fitted to them. Three references a little off one line are
// enough for the fit to run, yet the probing error alone then turns the move about that line: the turn is
// fixed only by the references' spread across it. The bound below follows from the references' geometry
// alone, so it is known before the device or the part is moved, while more references can still be probed.

#include "commands/alignment/move_device/move_device_point_container.h"

// Metres, one standard deviation of a probed point: what the emulator's default noise gives a 6 mm ball
// (uniform within 1% of its diameter), and about a portable arm's single-point repeatability.
inline constexpr double kProbingError = 0.035e-3;

// Metres: how far a move fitted to the references, each probed once before and once after the move with the
// error probingError, may put a point within the references' reach (the ball about their centroid through
// the furthest of them) off its true place, at two standard deviations. Infinite without a reference, or
// for references on one line, whose turn about it nothing fixes.
double moveUncertainty(const MoveDevicePointContainer& references, double probingError);
