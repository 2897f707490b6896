#pragma once

// The words of the collectors' brief instructions, as the operator reads them on the tile: the step
// ("Probe points on the plane", or plainly "Probe points") and, once enough points are taken, the finishing
// step joined to it as "%1 or %2". Every text is translated.

#include "basic_types/zel_string.h"

// tr("Probe points on the %1", featureWord); the word comes translated.
ZelString probePointsOnText(const ZelString& featureWord);
// tr("Probe points").
ZelString probePointsText();
// tr("define the offset direction to finish"): the stop point, taken off the surface, finishes the feature.
ZelString offsetFinishText();
// tr("finish").
ZelString finishText();
