#pragma once

// The Move Device wizard's controls, by their offset from the widget's first id, and the rule on how many
// pairs a run needs; shared by the sources that build the wizard, answer its buttons and run its passes.

#include <cstdint>

namespace move_device_controls {

enum Control : int32_t {
  kBox = 0,
  kStartBox = 1,
  kBegin = 2,
  kResume = 3,
  kCollectReferenceBox = 4,
  kCreateReferencesBox = 5,
  kCreateTypeBox = 6,
  kTypePoint = 7,
  kTypeSphere = 9,
  kTypeCircle = 11,
  kTypePrevious = 13,
  kReferenceList = 15,
  kReferenceUp = 16,
  kReferenceDown = 18,
  kReferenceDelete = 20,
  kCollectTargetBox = 22,
  kTargetPrompt = 23,
  kTargetStart = 24,
  kTargetRetry = 26,
  kTargetRestart = 28,
  kTargetDisplayBox = 30,
  kTargetList = 31,
  kComputeLeapBox = 32,
  kPairList = 33,
  kPairDelete = 34,
  kPairDeviations = 36,
  kControlBox = 37,
  kExit = 38,
  kNext = 39,
  kDone = 40,
};

// "Next" needs three references: two pairs leave the turn about their common line free.
inline constexpr int32_t kFewestPairs = 3;

}  // namespace move_device_controls
