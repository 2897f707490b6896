#pragma once

// The collectors of cylinders: a free one from points on its wall, one whose axis stands on a work plane
// probed (or picked) first and kept for the next cylinders, and one bounded by a bottom and a top plane, both
// probed again for every cylinder.

#include "features/collectors/simple_collectors.h"

class CylinderCollector final : public ConcreteCollector<CylinderCollector> {
 public:
  static constexpr const char* interfaceName = "CylinderCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeCylinderCreator",
                                                 "IZelCylinder",
                                                 kFillWithApproaches,
                                                 false,
                                                 false,
                                                 true,
                                                 "cylinder",
                                                 true,
                                                 InstructionPictureSet::kCylinder};
};

class ConstrainedCylinderCollector final : public ConcreteCollector<ConstrainedCylinderCollector> {
 public:
  static constexpr const char* interfaceName = "ConstrainedCylinderCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeConstrainedCylinderCreator",
                                                 "IZelCylinder",
                                                 kFillWithWorkPlane,
                                                 true,
                                                 true,
                                                 true,
                                                 "cylinder",
                                                 true};
};

// The first plane accepted is the bottom plane, whichever child made it (a picked plane too).
class TopBottomPlaneCylinderCollector final : public ConcreteCollector<TopBottomPlaneCylinderCollector> {
 public:
  static constexpr const char* interfaceName = "TopBottomPlaneCylinderCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeTopBottomPlaneCylinderCreator",
                                                 "IZelCylinder",
                                                 kFillWithoutWorkPlane,
                                                 false,
                                                 false,
                                                 true,
                                                 "cylinder",
                                                 true};

  // A plane collector that names which of the two planes it probes.
  class ChildPlaneCollector final : public ConcreteCollector<ChildPlaneCollector> {
   public:
    static constexpr const char* interfaceName = "TopBottomPlaneCylinderCollector::ChildPlaneCollector";
    static constexpr SimpleCollectorTraits kTraits = PlaneCollector::kTraits;

    ZelString briefInstructions() override;
    void setPlaneWord(const ZelString& word) { planeWord_ = word; }

   private:
    ZelString planeWord_;
  };

  TopBottomPlaneCylinderCollector();

  // The probing values, then "<BottomPlane>" and "<TopPlane>".
  bool fillCreatorParameters() override;
  bool acceptFeature(IZelFeature* feature) override;
  // Forgets both planes: the next cylinder probes them again.
  void resetChildren() override;

  IZelPlane* bottomPlane() const { return bottomPlane_.get(); }
  IZelPlane* topPlane() const { return topPlane_.get(); }

 private:
  void buildChildren();
  void addPlaneChild(const char* typeNameKey, const char* planeWordKey);

  IPtr<IZelPlane> bottomPlane_;
  IPtr<IZelPlane> topPlane_;
};
