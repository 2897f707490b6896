// The faces the picks of "3-2-1 Device Alignment" name: whether a picked face can serve its plane, and the
// reference faces as the solve lays them, which the probed planes are checked against.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "commands/alignment/common/alignment_tolerance.h"
#include "commands/alignment/common/fit_spread.h"
#include "commands/alignment/device_to_part/palpera_device_to_part_alignment_cmd.h"
#include "framework/host_glue/user_error.h"
#include "framework/translation/tr.h"

namespace {

// A face fixes what the faces before it leave free only by the share of its normal that lies across them: a
// touch off its face by e moves that place by e over the share. Below this share, the probing error at two
// standard deviations (fit_spread.h) moves it beyond the default alignment tolerance, and the face leaves it
// to the noise: a face within about 4 degrees of parallel to them.
constexpr double kSmallestFaceShare = 2 * kProbingError / kDefaultAlignmentTolerance;

ZelString degreesOfShare(double share) {
  return degreesText(std::asin(std::min(share, 1.0)) * 180 / std::numbers::pi);
}

}  // namespace

bool PalperaDeviceToPartAlignmentCmd::faceCanServe(int plane, int index, const Vector3& normal) {
  // The pick that completes plane 2, or plane 3's, names the face its touches are to lie on. Plane 1 fixes
  // the tilts and the place along its normal; face 2 is to fix the turn about that normal and the place
  // across it, and face 3 the place along the line planes 1 and 2 meet along, as the solve sets each touch on
  // its face. How far a face leans from square to its plane costs nothing more.
  if (normal.squaredLength() == 0 || !(plane == 3 || (plane == 2 && index >= 1 && data_->plane2Set[0])))
    return true;
  const Vector3 n1 = data_->referencePlanes[0].normal(), face = normal.normalized();
  if (plane == 2) {
    const double share = Vector3::cross(n1, face).length();
    if (share >= kSmallestFaceShare) return true;
    reportUserError(tr(
        "The point was not taken: the face picked leans %1 degrees from plane 1, too little for touches on "
        "it to fix the part's turn about plane 1's normal and its place across plane 2. Pick plane 2 on a "
        "face that leans at least %2 degrees from plane 1.",
        degreesOfShare(share), degreesOfShare(kSmallestFaceShare)));
    return false;
  }
  const Vector3 face2 = data_->plane2Direction.squaredLength() == 0 ? data_->referencePlanes[1].normal()
                                                                    : data_->plane2Direction;
  Vector3 meeting = Vector3::cross(n1, face2);
  if (!meeting.normalize()) return true;
  const double share = std::abs(meeting.dot(face));
  if (share >= kSmallestFaceShare) return true;
  reportUserError(
      tr("The point was not taken: the face picked lies %1 degrees off the line along which planes 1 and 2 "
         "meet, too little for touches on it to fix the part's place along that line. Pick plane 3 on a face "
         "that lies at least %2 degrees off it.",
         degreesOfShare(share), degreesOfShare(kSmallestFaceShare)));
  return false;
}

std::array<ReferenceFace, 3> PalperaDeviceToPartAlignmentCmd::referenceFaces() const {
  // The normals of reference planes 1 and 2 point out of the material, as their picks' normals turned them or
  // the operator's Flip did; plane 3's sense is n1 x n2, and its pick's normal says where the material is.
  // Planes 2 and 3 are laid as the solve lays them: plane 2 square to plane 1 along its face, wherever on
  // the face its picks were taken.
  const std::array<Plane, 3>& planes = data_->referencePlanes;
  const auto inSenseOf = [](Vector3 along, const Vector3& normal) {
    if (!along.normalize() || normal.squaredLength() == 0) return normal;
    return along.dot(normal) < 0 ? -1.0 * along : along;
  };
  const Vector3 n1 = planes[0].normal(), face2 = data_->plane2Direction;
  const Vector3 n2 = inSenseOf(face2 - face2.dot(n1) * n1, planes[1].normal());
  const Vector3 n3 = inSenseOf(Vector3::cross(n1, n2), planes[2].normal());
  return {ReferenceFace{n1, {}, true}, ReferenceFace{n2, face2, true},
          ReferenceFace{n3, data_->plane3Direction, false}};
}
