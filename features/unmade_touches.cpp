#include "features/unmade_touches.h"

#include "framework/translation/tr.h"

ZelString unmadeTouchesText(int32_t count, const ZelString& feature, const ZelString& reason) {
  if (count == 1) return tr("1 touch was not made into %1: %2.", feature, reason);
  return tr("%1 touches were not made into %2: %3.", ZelString::number(count), feature, reason);
}
