#pragma once

// The collectors of features probed as one point set (a line, a plane, a point, a sphere, a cone, ...): each
// differs from the others only in what its traits say. One with a work plane probes the plane first, through
// a plane collector child (or takes a picked plane), and keeps that plane for the next features of its type.

#include <cstdint>
#include <optional>
#include <span>

#include "features/collectors/feature_collector_base.h"
#include "host_api/feature_kinds.h"
#include "ui/instructions/instruction_pictures.h"

struct SimpleCollectorTraits {
  const char* creator;      // the creator's class name
  const char* featureType;  // the feature interface name of the type, such as "IZelLine"
  uint32_t fillKeys;        // FeatureCollectorBase::FillKey: what the creator's table gets
  bool workPlane;           // probes or takes a work plane first
  bool canFinish;
  bool showFeatureStatistics;
  const char* briefWord;  // "Probe points on the <word>"; null: "Probe points"
  bool offsetFinish;      // finished by the offset direction rather than a plain "finish"
  std::optional<InstructionPictureSet> pictures = std::nullopt;  // none: no instructions to show
};

class SimpleCollector : public FeatureCollectorBase {
 public:
  static constexpr const char* interfaceName = "SimpleCollector";

  bool fillCreatorParameters() override;
  // With a work plane: the first plane becomes it (a picked one skips probing it); anything else, or a
  // second plane, is refused.
  bool acceptFeature(IZelFeature* feature) override;
  using FeatureCollectorBase::userInstructions;
  IPtr<IZelUserInstructions> userInstructions(bool withThirdPicture) override;
  ZelString briefInstructions() override;
  ZelString appendStopInstruction() override;
  ZelString surfaceWord() override;
  bool startsFromTravel() const override { return (traits_.fillKeys & kFillApproaches) != 0; }

  IZelPlane* workPlane() const { return workPlane_.get(); }

 protected:
  // Makes the creator, names the type, sets the flags and adds the work-plane child, which is active first.
  explicit SimpleCollector(const SimpleCollectorTraits& traits);

  // The fill of fillCreatorParameters with the trailing values behind the gathered ones.
  bool fillWith(std::span<const TrailingParameter> trailing);
  // Forgets the work plane (parallel planes probe a new primary plane for every feature).
  void forgetWorkPlane() { workPlane_.release(); }
  // Keeps the plane as the work plane and moves on to the next child.
  void takeWorkPlane(IZelPlane* plane);
  // Keeps the plane as the work plane; the active child stays.
  void holdWorkPlane(IZelPlane* plane) { workPlane_ = plane; }
  // The work plane as a feature, to hand to a child; null without one.
  IZelFeature* workPlaneFeature() const { return queryPart<IZelFeature>(workPlane_.get()); }
  InstructionPictureCache& pictures() { return pictures_; }

 private:
  const SimpleCollectorTraits& traits_;
  IPtr<IZelPlane> workPlane_;
  InstructionPictureCache pictures_;
};
