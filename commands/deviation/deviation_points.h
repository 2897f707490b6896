#pragma once

// The points the real-time deviation command has recorded, numbered from 1: the compensated probe points and
// the matching closest CAD points as two host point arrays (which the view draws), and beside them each
// point's deviation, pass state and label. The i-th entry of every list belongs to the i-th point, and to
// row i + 1 of the point table. Main thread only.

#include <cstdint>

#include "basic_types/vector3.h"
#include "basic_types/zel_array.h"
#include "basic_types/zel_string.h"
#include "commands/deviation/probe_deviation.h"
#include "framework/object/iptr.h"
#include "host_api/points.h"

class DeviationPoints {
 public:
  // The two arrays from the host's point-array factory and empty lists; false, holding nothing, without the
  // factory.
  bool create();
  // Lets go of the arrays and the lists.
  void destroy();
  bool created() const { return measured_ && cad_; }

  // The number of recorded points, as the measured-point array holds them.
  int32_t count();
  void append(const ZelString& label, const ProbeDeviation& point);
  // False, changing nothing, when no point is recorded.
  bool removeLast();
  void clear();

  // i from 1 to count().
  Vector3 measured(int32_t i);
  double deviation(int32_t i) const { return deviations_[i]; }
  bool pass(int32_t i) const { return passFlags_[i] != 0; }
  const ZelString& label(int32_t i) const { return labels_[i]; }
  int32_t labelCount() const { return labels_.count(); }
  // False, changing nothing, for a point that is not recorded.
  bool setLabel(int32_t i, const ZelString& label);

  RealPArray* measuredArray() const { return measured_.get(); }
  RealPArray* cadArray() const { return cad_.get(); }

 private:
  IPtr<RealPArray> measured_;
  IPtr<RealPArray> cad_;
  ZelCountedArray<double> deviations_;
  ZelCountedArray<uint8_t> passFlags_;
  ZelCountedArray<ZelString> labels_;
};
