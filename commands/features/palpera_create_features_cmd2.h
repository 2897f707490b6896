#pragma once

// The host command "Hard Probe Features": probes features of one kind, named by the argument text the host
// starts it with, into the document object "TestObject" one after another until the operator stops. The
// probing itself is the utility's (HardProbeCreateFeaturesUtil); the command sets the run up, hears its end
// and asks the host to finish, and on cancel takes back exactly what this run added.
//
// Created by the host per run; main thread only. The setting "Palpera/Hard Probe Features In Command" is 1
// from activation to deactivation, so that only one runs at a time.

#include <cstdint>
#include <memory>
#include <vector>

#include "basic_types/zel_id.h"
#include "commands/features/zel_hard_probe_create_features_util.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "framework/subject/zel_subject.h"
#include "host_api/zel_doc.h"

class PalperaCreateFeaturesCmd2 : public CompBaseCmd, public IZelListener {
 public:
  static constexpr const char* interfaceName = "PalperaCreateFeaturesCmd2";

  PalperaCreateFeaturesCmd2();
  PalperaCreateFeaturesCmd2(const PalperaCreateFeaturesCmd2&) = delete;
  PalperaCreateFeaturesCmd2& operator=(const PalperaCreateFeaturesCmd2&) = delete;
  ~PalperaCreateFeaturesCmd2() override;

  // Delete takes back the last point sampled; the dialog closing stops the feature in hand.
  void onEvent(IHostEvent* event) override;
  bool canRun(IZelUnknown* context) override;
  bool activate() override;
  void deactivate() override;
  // Removes the features this run added, or the whole target object when this run made it.
  bool cancel() override;

  // The utility's events.
  void onNotify(const char* event, IZelSubject* subject, void* data) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  // What cancel needs to take back one run.
  struct UndoRecord {
    IZelDocObject* target = nullptr;
    bool objectCreated = false;
    std::vector<IZelFeatureSubObject*> before;  // the target's feature sub-objects at the start, sorted
  };

  // Reads the argument text into the class ids and the use-plane flag; false for a text that does not
  // name both a known feature and a known collector and a use-plane choice.
  bool readArguments();
  // "TestObject", made as an empty point object when the document has none; false without one.
  bool chooseTarget();
  bool startProbing();
  void showTiles(bool active);
  // Ends a run still going and lets go of its events, so that nothing reaches this command any more. A run
  // ended for a cancel lets go of what it holds unfinished without a word; else that is kept or told.
  enum class RunEnd { kKeep, kCancel };
  void stopRun(RunEnd end);

  IPtr<IZelDocObject> target_;
  IPtr<IZelHardProbeCreateFeaturesUtil> util_;
  ZelID featureClassId_;
  ZelID collectorClassId_;
  bool usePlane_ = false;
  bool featureCreated_ = false;
  bool activating_ = false;  // the run's own end is not a request to finish while activation decides
  bool listening_ = false;
  bool probing_ = false;  // a run started and not yet ended
  std::unique_ptr<UndoRecord> undo_;
  ShownReference reference_;
};
