#pragma once

// The registered collectors of one point set each, by what sets them apart: their creator, their feature
// type, what their creator's table gets, whether they take a work plane first, and their words.

#include "features/collectors/concrete_collector.h"

// The table a creator gets, by the forms the collectors fill.
inline constexpr uint32_t kFillWithWorkPlane =
    FeatureCollectorBase::kFillSampled | FeatureCollectorBase::kFillStop | FeatureCollectorBase::kFillRadius |
    FeatureCollectorBase::kFillWorkPlane;
inline constexpr uint32_t kFillWithoutWorkPlane =
    FeatureCollectorBase::kFillSampled | FeatureCollectorBase::kFillStop | FeatureCollectorBase::kFillRadius;
inline constexpr uint32_t kFillWithApproaches = kFillWithoutWorkPlane | FeatureCollectorBase::kFillApproaches;
inline constexpr uint32_t kFillPointsOnly = FeatureCollectorBase::kFillSampled;
inline constexpr uint32_t kFillPointsAndWorkPlane =
    FeatureCollectorBase::kFillSampled | FeatureCollectorBase::kFillWorkPlane;

// Not final: a rectangular slot's sides are line collectors that only show other pictures.
class LineCollector : public ConcreteCollector<LineCollector> {
 public:
  static constexpr const char* interfaceName = "LineCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeLineCreator",      "IZelLine", kFillWithWorkPlane, true, true, true, "line", true,
      InstructionPictureSet::kLine};
};

class PointCollector final : public ConcreteCollector<PointCollector> {
 public:
  static constexpr const char* interfaceName = "PointCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbePointCreator",      "IZelPoint", kFillPointsOnly, false, false, false, nullptr, false,
      InstructionPictureSet::kPoint};
};

class PlaneCollector final : public ConcreteCollector<PlaneCollector> {
 public:
  static constexpr const char* interfaceName = "PlaneCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbePlaneCreator",      "IZelPlane", kFillWithoutWorkPlane, false, false, true, "plane", true,
      InstructionPictureSet::kPlane};
};

class SurfacePointCollector final : public ConcreteCollector<SurfacePointCollector> {
 public:
  static constexpr const char* interfaceName = "SurfacePointCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeSurfacePointCreator",
                                                 "IZelPoint",
                                                 kFillPointsAndWorkPlane,
                                                 true,
                                                 false,
                                                 false,
                                                 nullptr,
                                                 false,
                                                 InstructionPictureSet::kSurfacePoint};
};

// A surface point that makes a target point.
class TargetPointCollector final : public ConcreteCollector<TargetPointCollector> {
 public:
  static constexpr const char* interfaceName = "TargetPointCollector";
  static constexpr SimpleCollectorTraits kTraits{"HardProbeTargetPointCreator",
                                                 "IZelTargetPoint",
                                                 kFillPointsAndWorkPlane,
                                                 true,
                                                 false,
                                                 false,
                                                 nullptr,
                                                 false,
                                                 InstructionPictureSet::kSurfacePoint};
};

// The point of the set that lies furthest along the work plane's normal.
class MaxPointCollector final : public ConcreteCollector<MaxPointCollector> {
 public:
  static constexpr const char* interfaceName = "MaxPointCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeMaxPointCreator", "IZelPoint", kFillWithWorkPlane, true, false, false, nullptr, false};
};

// The point of the set that lies furthest against the work plane's normal.
class MinPointCollector final : public ConcreteCollector<MinPointCollector> {
 public:
  static constexpr const char* interfaceName = "MinPointCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeMinPointCreator", "IZelPoint", kFillWithWorkPlane, true, false, false, nullptr, false};
};

class SphereCollector final : public ConcreteCollector<SphereCollector> {
 public:
  static constexpr const char* interfaceName = "SphereCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeSphereCreator",      "IZelSphere", kFillWithoutWorkPlane, false, false, true, "sphere", true,
      InstructionPictureSet::kSphere};
};

class ConeCollector final : public ConcreteCollector<ConeCollector> {
 public:
  static constexpr const char* interfaceName = "ConeCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeConeCreator",      "IZelCone", kFillWithoutWorkPlane, false, false, true, "cone", true,
      InstructionPictureSet::kCone};
};

// A cone whose axis stands on the work plane.
class ConstrainedConeCollector final : public ConcreteCollector<ConstrainedConeCollector> {
 public:
  static constexpr const char* interfaceName = "ConstrainedConeCollector";
  static constexpr SimpleCollectorTraits kTraits{
      "HardProbeConstrainedConeCreator", "IZelCone", kFillWithWorkPlane, true, true, true, "cone", true};
};
