#pragma once

// A touch that went astray from a round feature: on the face beside a bore, on the stand under a sphere.
// Taken into the fit, such a touch pulls the whole feature (tilts a cylinder's axis, swells a circle), and
// the feature's own spread hides which touch did it. So the touches are judged by the feature the OTHER
// touches make (leave one out), through the ball centres as they were taken: of the touches, the one whose
// others agree best with their feature is judged, and when it lies further than kStrayTouchBound off that
// feature it is stray, and the feature is refused naming it.
//
// Only touches that over-determine the feature without the one judged are judged (more than its fewest
// points): from exactly its fewest, the others' feature is an exact fit whose noise alone may carry it far
// from a sound touch. Planes, lines and the other kinds are not judged here.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"

// Metres, as 3-2-1's flatness check: probing noise and a worn part's form error stay far within it; a touch
// on a neighbouring face lies further off.
inline constexpr double kStrayTouchBound = 0.001;

// Whether the feature is of a round kind whose touches are judged: a cylinder, cone, circle or sphere.
bool judgesStrayTouches(IZelFeature& feature);

// How far p lies from the round feature's surface; for a circle, across its axis (the touch's height in the
// bore aside). Zero for the other kinds.
double offRoundSurface(IZelFeature& feature, const Vector3& p);

// Whether every touch (a ball centre) lies within a tenth of kStrayTouchBound of the made feature's surface
// moved out by the probe's radius: then no touch pulled it, and the others need not be fitted without each.
// A stray touch that the whole fit took in so far must alone decide where the feature lies.
bool touchesHugMadeFeature(IZelFeature& made, std::span<const Vector3> touches, double probeRadius);

// A stray touch, by its index in touches, and how far off the others' feature it lies.
struct StrayTouch {
  size_t index = 0;
  double distance = 0.0;
};

// The feature through every touch but the one at the index given (through the ball centres), or none.
using FitOthers = std::function<IPtr<IZelFeature>(size_t skipped)>;

// The stray touch: the one whose others agree best with the feature they make, when it lies beyond
// kStrayTouchBound off it; judged only with more than fewest others. None when that touch lies within the
// bound, none can be judged, or the others make a feature of a kind not judged.
std::optional<StrayTouch> findStrayTouch(std::span<const Vector3> touches, size_t fewest,
                                         const FitOthers& fitOthers);

// Why the feature is refused, after "was not made: ", such as "touch 9 of 9 lies 6.1 mm off the cylinder the
// other touches make; undo back to it and probe on".
ZelString strayTouchText(const StrayTouch& stray, size_t touches, const ZelString& surface);
