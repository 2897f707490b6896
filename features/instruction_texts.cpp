#include "features/instruction_texts.h"

#include "framework/translation/tr.h"

ZelString probePointsOnText(const ZelString& featureWord) {
  return tr("Probe points on the %1", featureWord);
}

ZelString probePointsText() {
  return tr("Probe points");
}

ZelString offsetFinishText() {
  return tr("define the offset direction to finish");
}

ZelString finishText() {
  return tr("finish");
}
