#pragma once

// The stand-in host's feature sub-object manager of one document object: one object that answers
// "IZelFeatureSubObjectMgr", making sub-objects for features, and "IZelSubObjectMgr", holding the document
// object's sub-objects in the order they were added, with the running numbers of its new features. Safe on
// any thread.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/host_feature_sub_object.h"
#include "host/document/running_numbers.h"
#include "host_api/zel_sub_objects.h"

class HostFeatureSubObjectMgr : public IZelFeatureSubObjectMgr, public IZelSubObjectMgr, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureSubObjectMgr";

  // The manager of the document object with that id.
  explicit HostFeatureSubObjectMgr(int32_t objectId);
  // Its sub-objects, which may outlive it in a caller's hands, no longer name it as their owner.
  ~HostFeatureSubObjectMgr() override;

  IZelFeatureSubObject* createSubObject(IZelFeature* feature) override;
  void updateRunningNumber(const ZelID& typeId) override { runningNumbers_.update(typeId); }
  int32_t runningNumber(const ZelID& typeId) override { return runningNumbers_.number(typeId); }
  void giveBackRunningNumber(const ZelID& typeId) override { runningNumbers_.giveBack(typeId); }
  bool addSubObject(IZelSubObject* subObject) override;
  bool removeSubObject(IZelSubObject* subObject) override;
  int32_t subObjectCount() override;
  IZelSubObject* subObjectAt(int32_t index) override;
  bool highlight(IZelSubObject* subObject) override;
  void clearHighlight() override;
  void setSelectable(bool selectable) override { selectable_ = selectable; }

  // Host side: the sub-objects in order.
  std::vector<IPtr<HostFeatureSubObject>> subObjects();
  // The highlighted sub-object, without a reference for the caller, or null.
  IZelSubObject* highlighted();
  bool selectable() const { return selectable_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::vector<IPtr<HostFeatureSubObject>>::iterator findLocked(const HostFeatureSubObject* part);

  const int32_t objectId_;
  // Unique in the process, unlike an address, which a later manager may reuse.
  const uint64_t serial_;
  std::mutex mutex_;
  std::vector<IPtr<HostFeatureSubObject>> subObjects_;  // guarded by mutex_
  HostFeatureSubObject* highlighted_ = nullptr;         // one of subObjects_ or null; guarded by mutex_
  RunningNumbers runningNumbers_;
  std::atomic<bool> selectable_{true};
};
