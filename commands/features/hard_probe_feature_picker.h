#pragma once

// Lets the operator choose one of an object's features with the probe: moving into a candidate's box
// highlights it, a point sampled inside a candidate's box picks it and notifies "Stop". A point sampled
// outside every box picks nothing and notifies nothing, so its owner goes on with probing. The owner stops,
// resets and releases the picker after its "Stop" or "Error". Main thread only.

#include "commands/features/zel_hard_probe_feature_picker.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "features/collectors/zel_feature_collector.h"
#include "framework/object/iptr.h"
#include "framework/subject/palpera_subject_base.h"
#include "ui/instructions/instruction_pictures.h"

class HardProbeFeaturePicker : public IZelHardProbeFeaturePicker,
                               public IZelHardProbeDataReceiverV2,
                               public IZelUserInstructionSource,
                               public PalperaSubjectBase {
 public:
  static constexpr const char* interfaceName = "HardProbeFeaturePicker";

  // Makes the default strategies.
  HardProbeFeaturePicker();

  // IZelHardProbeFeaturePicker
  void setFeatureStrategy(IZelHardProbeFeaturePickerFeatureStrategy* strategy) override;
  void setPickStrategy(IZelHardProbeFeaturePickerPickStrategy* strategy) override;
  void setObject(IZelDocObject* object) override { object_ = object; }
  void setHideNonCandidates(bool hide) override { hideNonCandidates_ = hide; }
  bool start() override;
  void stop() override;
  IZelSubObject* pickedSubObject() override { return picked_; }
  bool pickedPoint(Vector3& point) override;
  void reset() override;
  bool isActive() override { return active_; }

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  // IZelUserInstructionSource: no text, the two picking pictures.
  void userInstructions(IPtr<IZelUserInstructions>& out, bool withThirdPicture) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // The object set, or else the document's current object.
  IZelDocObject* pickedFrom() const;
  void highlight(IZelSubObject* subObject);
  // Clears the highlight of the highlighted sub-object and forgets it.
  void removeHighlight();

  // The document's object and sub-objects outlive the picking run; none of them is held.
  IZelDocObject* object_ = nullptr;
  bool active_ = false;
  bool radiusTaken_ = false;
  IZelSubObject* highlighted_ = nullptr;
  IZelSubObject* picked_ = nullptr;
  Vector3 pickedPoint_;
  bool hasPickedPoint_ = false;
  IPtr<IZelHardProbeFeaturePickerFeatureStrategy> featureStrategy_;
  IPtr<IZelHardProbeFeaturePickerPickStrategy> pickStrategy_;
  bool hideNonCandidates_ = true;
  InstructionPictureCache pictures_;
};
