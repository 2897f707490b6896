#pragma once

// One probing run of the feature-probing command: the "HardProbe" device's points go to a feature collector
// made by class id, an existing feature may be picked first, the live fit statistics follow every point, and
// every finished feature is added to the target object. Its subject notifies "ProbeStart", "UserInstructions"
// (IZelUserInstructions, or null to clear), "BriefInstructions" (ZelString), "NewFeature",
// "PickedFeatureSubObject" (SubObjectData) and, last of a run, "ProbeStop". Main thread only.

#include "basic_types/zel_id.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/feature_kinds.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_feature.h"
#include "host_api/zel_sub_objects.h"
#include "host_api/zel_unknown.h"

class IZelHardProbeFeaturePickerFeatureStrategy;

class IZelHardProbeCreateFeaturesUtil : public virtual IZelUnknown {
 public:
  static constexpr const char* interfaceName = "IZelHardProbeCreateFeaturesUtil";

  // The data of "PickedFeatureSubObject": a picked feature the collector refused. A listener that takes the
  // feature itself sets taken.
  class SubObjectData : public ZelUnknownImpl {
   public:
    static constexpr const char* interfaceName = "SubObjectData";

    explicit SubObjectData(IZelSubObject* picked) : subObject(picked) {}

    void queryInterface(const char* name, void** out, bool flag) override;
    const char* className() override { return interfaceName; }

    IZelSubObject* subObject;
    bool taken = false;
  };

  virtual void setTargetObject(IZelDocObject* object) = 0;
  // Whether a target object is set and the active hard-probe plug-in is connected.
  virtual bool isConnected() = 0;
  // Reports "Unable to connect to hard probe device." when the device does not connect.
  virtual void connect() = 0;
  virtual void disconnect() = 0;
  // False, reporting why, when the collector cannot be made or acquisition does not start.
  virtual bool startFeature() = 0;
  // The operator ends the run (the dialog's apply or close). What it holds unfinished is not let go
  // silently: a composite with child features but no touch pending ends as its empty stop would (made, or
  // said why not); touches not yet in a feature are told; child features already in the document stay.
  virtual bool stopFeature() = 0;
  // Offers the work plane for picking while no work plane is set.
  virtual void setUsePlane(bool use) = 0;
  // A work plane set is handed to the collector at start, and nothing is picked.
  virtual void setWorkPlane(const IZelPlane* plane) = 0;
  virtual void setFeatureStrategy(IZelHardProbeFeaturePickerFeatureStrategy* strategy) = 0;
  virtual void setHideNonCandidates(bool hide) = 0;
  virtual void setFeatureClassId(const ZelID& id) = 0;
  virtual void setCollectorClassId(const ZelID& id) = 0;
  // Undoes the last sampled point, or the last feature when its points are all undone.
  virtual void undoLastSampled() = 0;
  // Without a reference for the caller; null when none was added or it was undone.
  virtual IZelSubObject* lastSubObject() = 0;
  // Ends the run as stopFeature does, but lets go of what it holds unfinished, child features too, without
  // a word: the caller rolls the run back.
  virtual void cancelFeature() = 0;
};
