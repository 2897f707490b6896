#pragma once

// Where the air lies beside a nominal feature, as the CAD model tells it: the model's normal at a point of
// the feature's surface points out of the material. A creator compensates away from its stop point, so a
// point on the air side of each feature's own nominal compensates every feature towards its material, where
// one stop point of the operator's, lifted or not, lies on the air side of some features only.

#include <optional>

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "features/collectors/zel_feature_collector.h"
#include "host_api/zel_feature.h"

// A point on the air side of the nominal: the middle of a hole (a bore, a hollow cone or sphere, the rim
// of a hole) level with the touch there, between the ends of the touches as a stop that tells must be, or a
// point far out along the normal beside material that faces the air (a plane, a boss, a ball, a boss's rim).
// None for a kind without sides here (lines, slots) or a normal that runs along the feature rather than
// across it, which says nothing of its side.
std::optional<Vector3> airSidePoint(IZelFeature& nominal, const Vector3& surfacePoint, const Vector3& outward,
                                    const Vector3& touch);

// Whether the probed feature has the air where its nominal has it: a plane's normal points the nominal's
// way; a round feature holds the nominal's air-side point exactly when the nominal does. A probed feature of
// another kind, or one without an air-side point, agrees.
bool sameSideAsNominal(IZelFeature& probed, IZelFeature& nominal, const std::optional<Vector3>& air);

// Whether the collector, handed the nominal's air-side point for its stop, refused its feature because the
// ball came to its touches from the other side (approach_side.h): where the reference model has material.
bool touchedFromModelMaterial(IZelFeatureCollector& collector);
// What the operator is told then of the feature named name.
ZelString modelMaterialRefusal(const ZelString& name);
