#pragma once

// A touch that went astray: on the face beside a bore, on the stand under a sphere, on a step below a face.
// Taken into the fit, such a touch pulls the whole feature (tilts a cylinder's axis, swells a circle), and
// the feature's own spread may hide it: with few touches to spare, the fit bends to pass near every one.
// So the touches are judged through the ball centres as they were taken, by the feature all of them make
// and by the feature the OTHER touches make, leaving each out in turn.
//
// The bound fits the feature: a touch lies astray beyond an eighth of the feature's size (its radius, a
// plane's reach), never less than kLeastStrayBound nor more than kStrayTouchBound, so that a millimetre's
// stray counts whatever the noise and 0.8 mm counts on a 1.5 mm pin. The touches do not lie on one feature
// where they spread beyond half that bound off the feature of them all, or where a touch lies beyond the
// bound off the feature its others make and leaving it out takes more from the squared deviations than
// sound touches would once in 1 / kSoundRunsRefused runs, scattering by kTouchDeviation: a stray touch the
// fit took in passes near it, but only by pulling the others.
//
// - With two or more touches to spare, the touch whose others agree best is named when it alone lies beyond
//   the bound off the feature they make: leaving it out explains the rest.
// - With one touch to spare, the others make their feature exactly whichever is left out, so none can be
//   named. The touch that would have to stray least to explain the rest is told, with how far it lies off
//   the feature the others make.
// - Otherwise the touch lying furthest off the feature of them all is told.
// A feature fixed by exactly its touches leaves nothing to judge. Where the touches make no feature, the
// touch whose leaving out makes one the others agree with is named all the same.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "framework/object/iptr.h"
#include "host_api/zel_feature.h"

// Metres: the most and the least a touch may lie off the feature before it counts as stray.
inline constexpr double kStrayTouchBound = 0.00075;
inline constexpr double kLeastStrayBound = 0.00025;
// Metres: what a sound touch adds to the deviations of the feature of them all, an arm's noise and a worn
// part's form, at most.
inline constexpr double kProbingScatter = 0.0001;
// Metres: the standard deviation of a sound touch off its feature, an arm's noise and a worn part's form: an
// emulated 6 mm ball's uniform 60 micrometres either way, a worn wall's 30 micrometre oval and 15 micrometre
// lobes.
inline constexpr double kTouchDeviation = 0.000035;
// How seldom sound touches may be refused as astray, at most.
inline constexpr double kSoundRunsRefused = 1e-4;

// A stray touch, by its index in the touches, and how far it lies off the feature the other touches make (off
// the feature of them all for kFurthestOff).
struct StrayTouch {
  enum Blame {
    kAlone,        // leaving it out explains the rest
    kOneToSpare,   // any one left out would explain the rest; this one strays least
    kFurthestOff,  // the touches agree with no feature; this one lies furthest off theirs
  };
  size_t index = 0;
  double distance = 0.0;
  Blame blame = kAlone;
};

// The feature through the touches (the ball centres) but the one at the index given, or through all of them
// for none; none when it cannot be made.
using FitTouches = std::function<IPtr<IZelFeature>(std::optional<size_t> skipped)>;

// The stray touch, or none when the touches agree with one feature, too few are taken to judge them, or the
// feature is of a kind not judged (a plane, unless planes). The fit through all of them comes first, then
// those without each. ballRadius (m) is the radius of the ball the touches were taken with.
std::optional<StrayTouch> findStrayTouch(std::span<const Vector3> touches, const FitTouches& fit, bool planes,
                                         double ballRadius);

// Why the feature is refused, after "was not made: ", such as "touch 9 of 9 lies 6.1 mm off the cylinder the
// other touches make; undo back to it and probe on".
ZelString strayTouchText(const StrayTouch& stray, size_t touches, const ZelString& surface);
