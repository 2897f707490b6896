#pragma once

// The iterative alignment command: the device is aligned to the part on targets the user picks anywhere on
// the reference model and probes roughly where they were picked. The command's own flow (dialog, probing,
// table) drives the parts declared here, each defined in a header of its own: the target records, the shape
// iterators and draw-time sources of the target graphics, and the closest-point finders of the realignment.

class PalperaIterativeAlignmentCmd {
 public:
  class Target;
  class DiscIterator;
  class RingIterator;
  class DashedRingIterator;
  class ActiveVisibilitySource;
  class BullseyeMaterialSource;
  class ClosestPointFinder;
  class ClosestPointFinderCAD;
  class ClosestPointFinderMesh;
};
