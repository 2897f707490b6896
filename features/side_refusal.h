#pragma once

// What the operator is told when the ball's positions refuse a made feature's side (approach_side.h), after
// "<feature> was not made: ": what was seen and where to stop.

#include <vector>

#include "basic_types/zel_string.h"
#include "features/approach_side.h"

// The numbers, from 1, of the touches that told side, among others or not: "2, 5".
ZelString touchesTelling(const std::vector<BallSide>& sides, BallSide side);

// The words for a refusing judgement, the surface named as surface ("cylinder"); empty for any other.
ZelString sideRefusalText(const SideJudgement& judged, const ZelString& surface);
