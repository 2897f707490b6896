#pragma once

// The host's aligner: best fits of a rigid motion, first from pairs of points, then by fitting points onto a
// reference surface, which its input (built from a mesh) answers closest-point queries on. Each lookup of
// "IAligner" or "IAligner_Input_Complex" hands out a fresh object. Main thread only.
//
// Arrays: the caller hands paged arrays (ZelChunkedArray) whose n elements are its records 1 to n, as the
// host's point arrays count from 1; record 0 is never read or written, so an array of n elements holds at
// least n + 1 records. Lengths are in metres; matrices are rigid motions, row-major, applied to column
// vectors.

#include <cstdint>

#include "basic_types/matrix4x4.h"
#include "basic_types/vector3.h"
#include "basic_types/zel_chunked_array.h"
#include "host_api/zel_unknown.h"

// A record of the nominal array of the pair fit: the point, then a direction that goes with it (the fit
// reads the point only).
struct AlignerPointPair {
  Vector3 point;
  Vector3 direction;
};

// Closest points on the reference surface.
class IAligner_Input : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IAligner_Input";

  // The surface point closest to point and the unit surface normal there, pointing out of the material. The
  // two flags are the host's own (false: the plain query). False, with the outputs untouched, when the input
  // has no surface.
  virtual bool closestPoint(const Vector3& point, Vector3& closest, Vector3& normal, bool flagA,
                            bool flagB) = 0;
};

// How an input is made: from a mesh's data (its IZelMeshExt part).
class IAligner_Input_Complex : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IAligner_Input_Complex";

  // Takes the mesh to search; selection (null: all of it) and flag are the host's own; a point farther than
  // maxDistance from the surface has no closest point. False for data that is no valid mesh. The object
  // then answers IAligner_Input.
  virtual bool setUp(IZelUnknown* meshData, IZelUnknown* selection, double maxDistance, bool flag) = 0;
};

class IAligner : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IAligner";

  // The input that refine re-queries closest points on; the aligner holds a reference on it.
  virtual void setInput(IAligner_Input* input) = 0;

  // The proper rigid motion (a rotation and a translation: no scale, no reflection) that carries the
  // nominal points onto the measured ones in least squares, into result. False, with result untouched, for
  // fewer than 3 pairs, for nominal points that lie on one line, or for a value that is not finite.
  virtual bool fitPairs(int32_t count, const ZelChunkedArray& measured, const ZelChunkedArray& nominal,
                        Matrix4x4& result) = 0;

  // Point-to-plane refinement: the rigid motion R2, starting from matrix, that minimises
  // Σ(nᵢ·(R2·pᵢ − cᵢ) − offset)², cᵢ and nᵢ being the closest surface point of R2·pᵢ and its normal,
  // re-queried from the input at every step; so each point comes to lie offset (a probe radius) above the
  // surface. normals holds the normal the caller found for each point: a point whose re-queried normal
  // turns away from it (a point slipped to the far side of a thin wall) sits that step out, as does one
  // whose distance from the surface differs from offset by more than tolerance (metres: a touch that missed
  // its face). Each step is damped, so directions the points leave free (all of them on one face: sliding
  // along it, turning about its normal) stay where matrix put them. Stops when a step moves less than 1e-13
  // (radians and metres), or after 100 steps. The flags and the count argument (false, false, 0, null,
  // false) are the host's own. False, with matrix untouched, without an input, when fewer than 3 points
  // take part in a step, or for a value that is not finite.
  virtual bool refine(int32_t count, const ZelChunkedArray& points, const ZelChunkedArray& normals,
                      Matrix4x4& matrix, bool flagA, bool flagB, int32_t mode, IZelUnknown* selection,
                      double tolerance, bool flagC, double offset) = 0;
};
