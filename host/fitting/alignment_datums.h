#pragma once

// The datums a datum pair's sub-objects stand for, read from their features as stored, and the schemes that
// solve a list of pairs. A plane feature is a plane datum, a point feature a point datum. A scheme is chosen
// by the kinds and the number of the pairs; a new kind of datum is one more alternative of Datum, one more
// branch of datumOf and of deviation, and the scheme that takes it.

#include <optional>
#include <variant>
#include <vector>

#include "host/fitting/geometry/datum_alignment.h"
#include "host/fitting/geometry/point_alignment.h"

class IZelSubObject;

struct DatumPoint {
  Eigen::Vector3d position;
};

using Datum = std::variant<fitting::DatumPlane, DatumPoint>;

struct DatumPair {
  Datum fixed;
  Datum floating;
};

// The datum of a feature sub-object, or none for a sub-object without a feature of a datum kind.
std::optional<Datum> datumOf(IZelSubObject* subObject);

// The datum moved by motion: where a datum in its object's own coordinates stands once the object is placed.
Datum moved(const Datum& datum, const fitting::RigidMotion& motion);

// The motion that carries the pairs' floating datums onto their fixed ones, or why there is none.
fitting::FitResult<fitting::RigidMotion> solveDatumPairs(const std::vector<DatumPair>& pairs);

// How far the pair's floating datum, moved by motion, is from the fixed one where the fixed one is (for
// planes: the fixed plane's point nearest the origin from the moved plane; for points: the two points).
double deviation(const DatumPair& pair, const fitting::RigidMotion& motion);
