#pragma once

// The targets of the iterative alignment in the view, one small scene each under the command's graphics
// root: a bullseye in the target's surface with an arrow along its normal and a highlight ring for the
// current target, the name as a label, the dashed tolerance zone and, once probed, a sphere at the touched
// surface point. The scene is rebuilt as a whole on every call of buildTargetGraphics, which the command
// makes after every change of its list; the colours and the highlight follow the entries' live state at
// every redraw in between. Main thread only.

#include <vector>

#include "commands/alignment/iterative/target_data.h"
#include "framework/object/iptr.h"
#include "host_api/zel_scene_node.h"

class IZelDocObject;

// The radii of a target's bullseye for a critical distance: r1 to r5 from the centre outwards.
struct BullseyeRadii {
  explicit BullseyeRadii(double criticalDistance);
  double r1, r2, r3, r4, r5;
};

// The half-width of the tolerance zone's dashes: 1% of the critical distance, shrunk in proportion for
// tolerances below r2; 0 when r2 is not above 0.
double toleranceDashHalfWidth(double tolerance, double criticalDistance);

class TargetGraphics {
 public:
  // root is the command's graphics root; entries and reference (the reference model, which sizes the
  // surface-point spheres) must outlive the graphics.
  TargetGraphics(IZelGroupNode* root, const std::vector<TargetData>& entries, IZelDocObject* reference);
  TargetGraphics(const TargetGraphics&) = delete;
  TargetGraphics& operator=(const TargetGraphics&) = delete;
  // Takes the scenes out of the root, so nothing drawn later asks about the entries.
  ~TargetGraphics();

  void buildTargetGraphics();

 private:
  void buildTarget(const TargetData& entry);

  IPtr<IZelGroupNode> root_;
  const std::vector<TargetData>& entries_;
  IZelDocObject* reference_;
};
