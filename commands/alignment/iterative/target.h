#pragma once

// One named point with a direction, shared by reference count: a nominal target picked on the reference
// model, a measured probe-ball centre (raw device coordinates) or the reference surface point nearest to the
// aligned measured point. Main thread only.

#include "basic_types/vector3.h"
#include "basic_types/zel_string.h"
#include "commands/alignment/iterative/palpera_iterative_alignment_cmd.h"
#include "framework/object/zel_unknown_impl.h"

class PalperaIterativeAlignmentCmd::Target : public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "Target";

  ZelString name;
  Vector3 point;
  // Nominal and surface points: the surface normal, pointing away from the material. Measured points: the
  // probe direction.
  Vector3 direction;
  // Nominal target: how near the moving probe must come to make the target current; a measured point copies
  // it from its nominal target; 0 for a surface point.
  double criticalDistance = 0;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
