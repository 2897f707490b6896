#include "features/side_refusal.h"

#include <algorithm>

#include "framework/translation/tr.h"

namespace {

ZelString stopAgainstText(const SideJudgement& judged, const ZelString& surface) {
  const BallSide told = std::ranges::any_of(judged.sides, [](BallSide s) { return s == BallSide::kOut; })
                            ? BallSide::kOut
                            : BallSide::kIn;
  if (std::ranges::all_of(judged.sides, [&](BallSide s) { return s == told; }))
    return tr(
        "the stop lies on the other side of the %1 than every touch came from; lift the probe off "
        "along its approach and stop again",
        surface);
  return tr(
      "the stop lies on the other side of the %1 than touches %2 came from, and no touch came from "
      "the stop's side; lift the probe off along the approach of one of them and stop again",
      surface, touchesTelling(judged.sides, told));
}

}  // namespace

// The numbers, from 1, of the touches that told side, among others or not: "2, 5".
ZelString touchesTelling(const std::vector<BallSide>& sides, BallSide side) {
  ZelString list;
  for (size_t i = 0; i < sides.size(); ++i) {
    if ((sides[i] | side) != sides[i]) continue;
    if (!list.isEmpty()) list += ZelString(u", ");
    list += ZelString::number(static_cast<int32_t>(i + 1));
  }
  return list;
}

ZelString sideRefusalText(const SideJudgement& judged, const ZelString& surface) {
  switch (judged.verdict) {
    case SideJudgement::kRefuse:
      return stopAgainstText(judged, surface);
    case SideJudgement::kRefuseDisagree:
      return tr(
          "the ball came to touches %2 from one side of the %1 and to touches %3 from the other, "
          "which no one %1 allows, so a touch may lie on another surface; undo back to it and probe on",
          surface, touchesTelling(judged.sides, BallSide::kOut), touchesTelling(judged.sides, BallSide::kIn));
    case SideJudgement::kRefuseStopBeyond:
      return tr(
          "no touch shows from which side it came, and a stop beyond the ends of the touches cannot "
          "tell a hole from a boss; stop level with the touches, on the free side of the %1",
          surface);
    case SideJudgement::kKeep:
    case SideJudgement::kRemake:
      break;
  }
  return {};
}
