#pragma once

// Naming a probed feature after the reference feature it matches, and showing its probed points with it.
// Matching asks the host whether each feature of the reference object "RefObject" matches the probed one
// within the tolerances of the settings "Palpera/FeatureMatching/...", keeps those whose size (a radius, a
// cone's half angle, a slot's length and width, the distance of parallel planes) agrees with the probed
// one's within a fixed tolerance too, whatever the host's test compares, and ranks them by the distance
// between the centres of their boxes. Main thread only.

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

// The name of the reference feature nearest the probed one (a feature in the world) among those the host's
// match test passes (the first in the reference object's order on equal distances), the probed feature
// placed in the reference object's own coordinates first. False, leaving name, when there is no reference
// object, it is not placed by a rotation and a shift, the probed feature has no box, or nothing passes: a
// bore beside its coaxial shaft is no match for it.
bool matchReferenceFeature(IZelFeature* probed, ZelString& name);

// Replaces the sub-object's probed points by the collector's result points. True when there were none to
// show (the source is left as it was); false without a collector or when the sub-object has no source.
bool fillProbeArraySource(IZelSubObject* subObject, IZelFeatureCollector* collector);

// Replaces the sub-object's probed points (its "IZelProbeArraySource", when it has one) by the points,
// given in the scene and kept in the coordinates of the sub-object's document object.
void showProbedPoints(IZelSubObject& subObject, const PointList& scenePoints);
