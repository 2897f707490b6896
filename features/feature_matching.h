#pragma once

// Naming a probed feature after the reference feature it matches, and showing its probed points with it.
// Matching asks the host whether each feature of the reference object "RefObject" matches the probed one
// within the tolerances of the settings "Palpera/FeatureMatching/...", and of those that pass takes the
// one nearest in size (a radius, a cone's half angle, a slot's length and width, the distance of parallel
// planes), whatever the host's test compares, then of one size the one nearest in place (the distance
// between the centres of their boxes). No size bound: a bore probed over size is still named after its
// nominal, and shows by how much. Main thread only.

#include <functional>

#include "basic_types/zel_string.h"
#include "features/collectors/zel_feature_collector.h"
#include "features/point_list.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_sub_objects.h"

inline constexpr const char* kFeatureMatchingEnableKey = "Palpera/FeatureMatching/Enable";
inline constexpr const char* kFeatureMatchingMaxDistanceKey = "Palpera/FeatureMatching/MaxDistance";
inline constexpr const char* kFeatureMatchingMaxAngleKey = "Palpera/FeatureMatching/MaxAngle";

// Whether "Palpera/FeatureMatching/Enable" is set; off when the host has no data store.
bool isFeatureMatchingEnabled();

// The name of the reference feature that bestReferenceMatch finds, none taken. False, leaving name, when
// it finds none.
bool matchReferenceFeature(IZelFeature* probed, ZelString& name);

// The reference feature a probed one (a feature in the world) matches: of those the host's match test
// passes and taken does not claim, the nearest in size, then the nearest in place (the first in the
// reference object's order on equal distances), the probed feature placed in the reference object's own
// coordinates first. Null when there is no reference object, it is not placed by a rotation and a shift,
// the probed feature has no box, or nothing passes.
IZelSubObject* bestReferenceMatch(IZelFeature* probed, const std::function<bool(IZelSubObject*)>& taken);

// Whether the host's match test passes the probed feature for the nominal, both in one frame, within the
// tolerances of the settings; false when the host has no data store or the nominal no match test.
bool withinMatchTolerances(IZelFeature& nominal, IZelFeature& probed);

// The feature of the reference object that is the nominal (a feature in the world): of its kind, size and
// place to within the rounding of nominals recreated from one model. Null when there is none.
IZelSubObject* referenceHolding(IZelFeature* worldNominal);

// Replaces the sub-object's probed points by the collector's result points. True when there were none to
// show (the source is left as it was); false without a collector or when the sub-object has no source.
bool fillProbeArraySource(IZelSubObject* subObject, IZelFeatureCollector* collector);

// Replaces the sub-object's probed points (its "IZelProbeArraySource", when it has one) by the points,
// given in the scene and kept in the coordinates of the sub-object's document object.
void showProbedPoints(IZelSubObject& subObject, const PointList& scenePoints);
