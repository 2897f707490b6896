#pragma once

// One entry of the iterative alignment's target list: the nominal target, the last measured point and the
// surface point of one target, and what the last realignment made of them. A value type: copies share the
// three targets. Lengths are in metres. Main thread only.

#include <vector>

#include "basic_types/matrix4x4.h"
#include "commands/alignment/iterative/target.h"
#include "framework/object/iptr.h"

// Marks a computed value that is not there; any value within [3.399e38, 3.401e38] counts as unset.
inline constexpr double kUnsetValue = 3.4e38;
inline bool isUnset(double value) {
  return value >= 3.399e38 && value <= 3.401e38;
}

class TargetData {
 public:
  using Target = PalperaIterativeAlignmentCmd::Target;

  IPtr<Target> nominal;   // always set for an entry of the list
  IPtr<Target> measured;  // the last probed point, or empty
  IPtr<Target> surface;   // the reference surface point nearest to the aligned measured point, or empty
  // Distance from the aligned probe centre to the surface point, less the probe radius: negative when the
  // centre lies closer to the surface than the radius.
  double alignError = kUnsetValue;
  // How far the surface point lies sideways outside the tolerance zone; 0 inside.
  double zoneDeviation = kUnsetValue;
  bool inTolerance = false;
  bool inZone = false;     // live: the moving probe is inside this target's tolerance zone
  bool isCurrent = false;  // live: this target is being probed or approached
  double probeRadius = 0;
  double tolerance = 0;
  Matrix4x4 matrix;  // raw device coordinates to model coordinates

  void reset();
  void setMatrix(const Matrix4x4& m) { matrix = m; }
  void setTolerance(double value) { tolerance = value; }
  double alignErrorValue() const { return alignError; }
  bool isInTolerance() const { return inTolerance; }
  void setInZone(bool on) { inZone = on; }
  void setCurrent(bool on) { isCurrent = on; }
  Target* nominalTarget() const { return nominal.get(); }

  // Evaluates the entry against its matrix: the align error along the surface, and whether the touched
  // surface point lies within the tolerance of the nominal target across the nominal direction. Clears the
  // live flags; leaves the values unset without a nominal, measured or surface point.
  void computeDeviation();
};

// The first entry of entries whose nominal target is nominal, or null.
const TargetData* findEntry(const std::vector<TargetData>& entries, const TargetData::Target* nominal);

// For free probing: per entry, how far the probe's contact point (the centre less the radius along the
// nominal direction) lies from the nominal point; unset for an entry without a nominal.
std::vector<double> probeDistances(const std::vector<TargetData>& entries, const Vector3& probeCentre,
                                   double probeRadius);
