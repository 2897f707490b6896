#pragma once

// The command "Quick Probe": probing on the CAD reference model ("RefObject") without choosing a feature
// type. The command is the hard-probe device's receiver. While the probe moves, the nominal feature under it
// is recognised (QuickProbeRecognizer) and shown in the reference object; each sampled point goes to that
// nominal's collector, and a touch on a face of no measured kind is told so. The stop event finishes every
// feature probed since the last stop, each compensated towards its own nominal's material: a cylinder or
// cone runs like its nominal, a feature whose side disagrees with its nominal is refused, one that cannot be
// made yet keeps its touches; each is named after a matching reference feature when matching is on (one that
// no other probed feature stands for) and added to "TestObject", else under a name neither object holds; a
// nominal the reference object does not hold yet is added to it, hidden, under the probed feature's name,
// unless the probed feature lies beyond the matching tolerances. A feature probed again in the run is named
// apart from its nominal, and told: one probed feature stands for one nominal. The undo key takes back the
// last touch that no finished feature holds yet, one at a time, down to none. A stop with nothing probed ends
// the command, and so does a device error, after telling it and how many touches since the last stop go,
// keeping the features of the earlier stops. Applying finishes the touches since the last stop as a stop
// would. Every refusal is told to the operator. The probe's points and the probed
// features are the world's; the nominals added to the reference object lie in its model's own coordinates,
// wherever the reference object is placed (by a rotation and a shift; another placement is refused).
//
// The reference object's features are shown only while the probe is near them; each gets back the
// visibility it had when the command began. Created by the host per use; main thread only, where the device
// also calls the receiver.

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "basic_types/zel_hash_table.h"
#include "commands/quick_probe/quick_probe_graphics.h"
#include "commands/quick_probe/quick_probe_recognizer.h"
#include "devices/contracts/plugin_data_receivers.h"
#include "devices/contracts/plugin_device.h"
#include "devices/registry/izel_plugin_service.h"
#include "features/approach_side.h"
#include "framework/commands/comp_base_cmd.h"
#include "framework/host_glue/document_glue.h"
#include "framework/object/iptr.h"
#include "host_api/zel_doc.h"
#include "host_api/zel_sub_objects.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"

class PalperaQuickProbeCmd : public CompBaseCmd, public IZelHardProbeDataReceiverV2 {
 public:
  PalperaQuickProbeCmd();

  // The dialog's close fires "Command/DialogClosing".
  void onEvent(IHostEvent* event) override;
  // False inside another command, while a macro is recorded or a section or boundary is current.
  bool canRun(IZelUnknown* context) override;
  // Checks that a hard-probe plug-in and the reference model are ready (commandReady), finds the reference
  // model and the target object, connects the device and enters the reference object's features. False,
  // with everything undone, when one of them fails.
  bool activate() override;
  // Finishes the touches since the last stop as a stop would, each feature compensated towards its
  // nominal's material; those it cannot make are told, with why, and let go with the command.
  bool apply() override;
  void deactivate() override;

  // IZelHardProbeDataReceiver
  void setProbeRadius(double radius) override;
  void onMoved(const Vector3& point, const Vector3& to, const Vector3& up) override;
  void onPointSampled(const Vector3& point) override;
  void onPointStop(const Vector3& point) override;
  void onCustomEvent(const ZelCString& name, IZelUnknown* payload) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return "PalperaQuickProbeCmd"; }

 private:
  bool findReference();
  bool findOrCreateTarget();
  bool connect();
  void disconnect();
  void enterReferenceFeatures();
  void restoreReferenceVisibility();

  void handlePoint(const Vector3& point, bool sampled);
  // Takes back the last touch no finished feature holds; nothing when there is none.
  void undoLastTouch();
  void showNominal(int32_t index);
  void hideShownNominals();
  void removeTempNominal();
  // Finishes every entry touched since the last stop: at the operator's stop point, or with none when the
  // command ends.
  void finishTouched(const std::optional<Vector3>& stop);
  // Adds the entry's feature, or says why not; an entry that needs more touches keeps them for the next
  // stop, unless there is none (no stop point): then it is let go.
  void finishEntry(const QuickProbeRecognizer::Entry& entry, const std::optional<Vector3>& stop);
  // Adds the feature to the target object under the name of the reference feature it matches, of those no
  // other nominal holds; unmatched, under a name neither object holds (standForNominal). A second probe of a
  // nominal in the run is added under a name neither object holds, and told.
  void addProbed(const QuickProbeRecognizer::Entry& entry, const IPtr<IZelFeature>& feature);
  // Gives the added feature, matching no reference feature, its nominal: the reference feature of its face
  // (one the recognizer entered, or one of its kind, size and place), told when matching is on; else its
  // nominal added under its name, unless matching is on and it lies beyond the matching tolerances, which
  // is told.
  void standForNominal(const QuickProbeRecognizer::Entry& entry, IZelFeature& feature, IZelSubObject& added,
                       bool matching);
  // Whether the reference feature is another index's: its nominal, or the one its probed feature matched.
  bool heldByAnother(int32_t index, IZelSubObject* reference);
  void dropEntry(const QuickProbeRecognizer::Entry& entry);
  // Drops the entry, telling how many touches go with it and why (translated).
  void letGo(const QuickProbeRecognizer::Entry& entry, const ZelString& why);
  // The name the operator sees the entry's nominal under, or its type's name.
  ZelString nominalName(const QuickProbeRecognizer::Entry& entry);
  // The sub-object of a feature added to the object, named (an empty name: "<type name> <n>", the first n
  // whose name neither the reference nor the target object holds) and shown or hidden; empty when the host
  // cannot add it.
  IPtr<IZelSubObject> addFeature(IZelDocObject* object, IZelFeature* feature, const ZelString& name,
                                 bool visible);
  // A nominal, placed in the world as the recognizer keeps it, added hidden to the reference object in the
  // model's own coordinates.
  IPtr<IZelSubObject> addNominal(IZelFeature* nominal, const ZelString& name);

  bool active_ = false;
  IPtr<IZelDocObject> refObject_;
  IPtr<IZelDocObject> testObject_;
  QuickProbeRecognizer recognizer_;
  int32_t pointCount_ = 0;  // sampled since the last finish
  // The moves since the last touch or stop: a collector whose fit starts from the ball's travel gets them
  // before the touch it takes.
  MoveTrail movesSinceTouch_;

  ZelHashTable<int32_t, IPtr<IZelSubObject>> shownNominals_;
  ZelHashTable<int32_t, IPtr<IZelSubObject>> probedSubObjects_;
  // The reference feature each index's probed feature was named after; no other index's may take it.
  ZelHashTable<int32_t, IPtr<IZelSubObject>> matchedReferences_;
  IPtr<IZelSubObject> tempNominal_;
  ZelHashTable<int32_t, ZelString> tempNames_;  // the name each temporary nominal was first shown under
  int32_t tempIndex_ = QuickProbeRecognizer::kNone;
  // The reference object's features and whether each was hidden when the command began (or was added).
  std::vector<std::pair<IPtr<IZelSubObject>, bool>> referenceVisibility_;
  ShownReference restoreDisplay_;

  IPtr<IZelPluginService> pluginService_;
  IPtr<IZelPluginDevice> device_;              // connected while held
  IPtr<IZelHardProbeProbeGfx> probeGraphics_;  // shown over the reference object when the setting asks
  QuickProbeGraphics graphics_;                // over the target object while connected
  bool connected_ = false;
};
