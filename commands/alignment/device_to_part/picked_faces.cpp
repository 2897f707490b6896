// The faces the picks of "3-2-1 Device Alignment" name: whether a picked face can serve its plane, and the
// reference faces as the solve lays them, which the probed planes are checked against.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "commands/alignment/device_to_part/palpera_device_to_part_alignment_cmd.h"
#include "framework/host_glue/user_error.h"
#include "framework/translation/tr.h"

bool PalperaDeviceToPartAlignmentCmd::faceCanServe(int plane, int index, const Vector3& normal) {
  // The pick that completes plane 2, or plane 3's, names the face its touches are to lie on. Plane 2 may
  // stand at any turn about plane 1's normal, so its face leans by its normal's share along that normal;
  // plane 3 stands square to plane 1 and to face 2 as the solve lays it.
  if (normal.squaredLength() == 0 || !(plane == 3 || (plane == 2 && index >= 1 && data_->plane2Set[0])))
    return true;
  const Vector3 n1 = data_->referencePlanes[0].normal(), face = normal.normalized();
  double cosine = std::sqrt(std::max(0.0, 1 - face.dot(n1) * face.dot(n1)));
  if (plane == 3) {
    const Vector3 face2 = data_->plane2Direction.squaredLength() == 0 ? data_->referencePlanes[1].normal()
                                                                      : data_->plane2Direction;
    Vector3 planeNormal = Vector3::cross(n1, face2);
    if (!planeNormal.normalize()) return true;
    cosine = std::abs(planeNormal.dot(face));
  }
  if (cosine >= kSmallestFaceCosine) return true;
  reportUserError(tr(
      "The point was not taken: the face picked leans %1 degrees from plane %2, so touches on it "
      "cannot place the plane. Pick plane %2 on a face that leans less than %3 degrees from it.",
      ZelString::formatDouble(std::acos(cosine) * 180 / std::numbers::pi, {.precision = ".0"}),
      ZelString::number(plane),
      ZelString::formatDouble(std::acos(kSmallestFaceCosine) * 180 / std::numbers::pi, {.precision = ".0"})));
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
