#pragma once

// Parallel planes: a primary plane probed as one component, then one point on the opposite surface as the
// other; the collector itself takes no point and stops as soon as both components are made. Every feature
// starts from a new primary plane: reset forgets both components.

#include "features/collectors/simple_collectors.h"

class ParallelPlanesCollector final : public ConcreteCollector<ParallelPlanesCollector> {
 public:
  static constexpr const char* interfaceName = "ParallelPlanesCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeParallelPlanesCreator",
                                                 "IZelParallelPlanes",
                                                 0,
                                                 false,
                                                 false,
                                                 false,
                                                 "Parallel Planes",
                                                 true};

  // The primary plane's collector: a plane of its own creator, which the parallel-planes creator expects.
  class PrimaryComponentCollector final : public ConcreteCollector<PrimaryComponentCollector> {
   public:
    static constexpr const char* interfaceName = "PrimaryComponentCollector";
    static constexpr SimpleCollectorTraits kTraits{"HardProbeParallelPlanesPlaneCreator",
                                                   "IZelPlane",
                                                   kFillWithoutWorkPlane,
                                                   false,
                                                   false,
                                                   true,
                                                   "surface",
                                                   true,
                                                   InstructionPictureSet::kPlane};
  };

  // The point on the opposite surface.
  class SecondaryComponentCollector final : public ConcreteCollector<SecondaryComponentCollector> {
   public:
    static constexpr const char* interfaceName = "SecondaryComponentCollector";
    static constexpr SimpleCollectorTraits kTraits{
        "HardProbePointCreator",      "IZelPoint", kFillPointsOnly, false, false, false, "surface", true,
        InstructionPictureSet::kPoint};
  };

  ParallelPlanesCollector();

  // "<ProbeRadius>" and "<ChildFeatures>" = {"<Feature1>": the primary plane, "<Feature2>": the point}.
  bool fillCreatorParameters() override;
  // The primary plane first, then the secondary point; anything else is refused.
  bool acceptFeature(IZelFeature* feature) override;
  void resetChildren() override;

 private:
  void buildChildren();
  template <class Component>
  void addComponent(const char* typeName);

  IPtr<IZelPoint> secondaryPoint_;
};
