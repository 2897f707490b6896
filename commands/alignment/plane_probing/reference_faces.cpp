#include "commands/alignment/plane_probing/reference_faces.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/translation/tr.h"

namespace {

// The angle between two planes of these normals, from 0 (parallel) to 90 degrees.
double degreesBetween(const Vector3& a, const Vector3& b) {
  const double cosine = std::abs(a.normalized().dot(b.normalized()));
  return std::acos(std::min(cosine, 1.0)) * 180 / std::numbers::pi;
}

Vector3 faceDirection(const ReferenceFace& face) {
  return face.faceNormal.squaredLength() == 0 ? face.planeNormal : face.faceNormal;
}

// +1 when the reference plane's normal points out of the material, -1 into it, 0 when not known.
double referenceSide(const ReferenceFace& face) {
  if (face.planeFacesOut) return 1;
  const double along = face.planeNormal.dot(face.faceNormal);
  return along > 0 ? 1 : along < 0 ? -1 : 0;
}

// The narrowest extent of the points across directions within the plane of this normal: some side of their
// outline lies flush with the narrowest pair of parallel lines that hold them.
double narrowestWidth(const std::vector<Vector3>& points, const Vector3& normal) {
  constexpr double kOnTheLine = 1e-9;
  double narrowest = 0;
  for (size_t i = 0; i < points.size(); ++i)
    for (size_t j = i + 1; j < points.size(); ++j) {
      Vector3 across = Vector3::cross(normal, points[j] - points[i]);
      if (!across.normalize()) continue;
      double below = 0, above = 0;
      for (const Vector3& p : points) {
        const double off = across.dot(p - points[i]);
        below = std::min(below, off);
        above = std::max(above, off);
      }
      if (below < -kOnTheLine && above > kOnTheLine) continue;  // not a side of the outline
      const double width = above - below;
      if (width > kOnTheLine && (narrowest == 0 || width < narrowest)) narrowest = width;
    }
  return narrowest;
}

}  // namespace

double faceLeanCosine(const ReferenceFace& face) {
  if (face.faceNormal.squaredLength() == 0 || face.planeNormal.squaredLength() == 0) return 1;
  return std::abs(face.faceNormal.normalized().dot(face.planeNormal.normalized()));
}

double noiseAngleOf(const std::vector<Vector3>& touches, const Vector3& normal) {
  const double width = narrowestWidth(touches, normal);
  return width > 0 ? std::atan(2 * kProbingNoise / width) : std::numbers::pi / 2;
}

std::optional<ReferenceMismatch> referenceMismatch(const std::array<ProbedFace, 3>& probed,
                                                   const std::array<ReferenceFace, 3>& faces, int plane) {
  const size_t k = static_cast<size_t>(plane - 1);
  const double side = referenceSide(faces[k]);
  if (side != 0 && probed[k].outwardSide != 0 && side != probed[k].outwardSide)
    return ReferenceMismatch{ReferenceMismatch::kOtherSide, plane};
  if (!probed[k].ownNormal || faceDirection(faces[k]).squaredLength() == 0) return std::nullopt;
  for (size_t j = 0; j < k; ++j) {
    if (!probed[j].ownNormal || faceDirection(faces[j]).squaredLength() == 0) continue;
    const double probedDegrees = degreesBetween(*probed[j].ownNormal, *probed[k].ownNormal);
    const double referenceDegrees = degreesBetween(faceDirection(faces[j]), faceDirection(faces[k]));
    const double tolerance = kFaceAngleTolerance + probed[j].noiseAngle + probed[k].noiseAngle;
    if (std::abs(probedDegrees - referenceDegrees) <= tolerance * 180 / std::numbers::pi) continue;
    const bool picked = faces[j].faceNormal.squaredLength() > 0 || faces[k].faceNormal.squaredLength() > 0;
    return ReferenceMismatch{picked ? ReferenceMismatch::kAngle : ReferenceMismatch::kSquare, plane,
                             static_cast<int>(j + 1), probedDegrees, referenceDegrees};
  }
  return std::nullopt;
}

ZelString degreesText(double degrees) {
  return ZelString::formatDouble(degrees,
                                 {.precision = std::abs(degrees - std::round(degrees)) < 0.05 ? ".0" : ".1"});
}

ZelString mismatchText(const ReferenceMismatch& mismatch) {
  if (mismatch.kind == ReferenceMismatch::kOtherSide)
    return tr("plane %1 was probed from the other side of its reference face, as the planes before it stand",
              ZelString::number(mismatch.plane));
  const ZelString planes =
      tr("%1 and %2", ZelString::number(mismatch.otherPlane), ZelString::number(mismatch.plane));
  // Faces nobody picked are only known to stand square: a face leaning from square shows as it does.
  if (mismatch.kind == ReferenceMismatch::kSquare)
    return tr(
        "planes %1 meet at %2 degrees where they are to stand square, so a face leans %3 degrees from "
        "square or a point is on another face",
        planes, degreesText(mismatch.probedDegrees),
        degreesText(std::abs(mismatch.referenceDegrees - mismatch.probedDegrees)));
  return tr("planes %1 meet at %2 degrees, their reference faces at %3, so a point may be on another face",
            planes, degreesText(mismatch.probedDegrees), degreesText(mismatch.referenceDegrees));
}

ZelString noAlignmentText(const ReferenceMismatch& mismatch) {
  return tr(
      "No alignment was made: %1. Nothing was stored; probe the planes again, each on the face picked "
      "for it.",
      mismatchText(mismatch));
}
