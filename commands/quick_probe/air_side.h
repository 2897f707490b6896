#pragma once

// Where the air lies beside a nominal feature, as the CAD model tells it: the model's normal at a point of
// the feature's surface points out of the material. A creator compensates away from its stop point, so a
// point on the air side of each feature's own nominal compensates every feature towards its material, where
// one stop point of the operator's, lifted or not, lies on the air side of some features only.

#include <optional>
#include <span>

#include "basic_types/vector3.h"
#include "host_api/zel_feature.h"

// A point on the air side of the nominal: the middle of a hole (a bore, a hollow cone or sphere, the rim
// of a hole) at the height of the surface point, or a point far out along the normal beside material that
// faces the air (a plane, a boss, a ball, a boss's rim). None for a kind without sides here (lines, slots)
// or a normal that runs along the feature rather than across it, which says nothing of its side.
std::optional<Vector3> airSidePoint(IZelFeature& nominal, const Vector3& surfacePoint,
                                    const Vector3& outward);

// Whether the probed feature has the air where its nominal has it. A plane, compensated towards its
// nominal's air side, disagrees when every touch pushed along its normal, into that air (touchDirections,
// the touches' probe directions, zero where unknown); with a direction unknown its normal must point the
// nominal's way. A round feature holds the nominal's air-side point exactly when the nominal does. A probed
// feature of another kind, or one without an air-side point, agrees.
bool sameSideAsNominal(IZelFeature& probed, IZelFeature& nominal, const std::optional<Vector3>& air,
                       std::span<const Vector3> touchDirections);
