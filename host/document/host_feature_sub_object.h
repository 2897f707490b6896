#pragma once

// A sub-object that the stand-in host's feature sub-object manager made for a feature. It knows the manager
// that made it, by that manager's serial number, so that no other manager takes it in, and the feature it
// shows since its last refresh, the feature it was made with until then. It also holds the probed points
// shown beside the feature ("IZelProbeArraySource"). Safe on any thread.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/document/probe_points.h"
#include "host_api/probe_array_source.h"
#include "host_api/zel_sub_objects.h"

class HostFeatureSubObject : public IZelFeatureSubObject, public IZelProbeArraySource, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostFeatureSubObject";

  // feature is not null.
  HostFeatureSubObject(uint64_t makerSerial, int32_t objectId, IZelFeature* feature);

  ZelString name() override;
  void setName(const ZelString& name) override;
  bool displayFlag(uint32_t flag) override { return (flags_ & flag) == flag; }
  void setDisplayFlag(uint32_t flag, bool on) override;
  int32_t objectId() override { return objectId_; }
  IZelSubObjectMgr* ownerManager() override { return owner_.load(); }
  IZelFeature* feature() override;
  bool setFeature(IZelFeature* feature) override;
  void refresh() override;

  void begin(int32_t count) override { probePoints_.begin(count); }
  bool append(const Vector3& point) override { return probePoints_.append(point); }
  int32_t count() override { return probePoints_.count(); }
  bool pointAt(int32_t i, Vector3& out) override { return probePoints_.pointAt(i, out); }

  // Host side.
  uint64_t makerSerial() const { return makerSerial_; }
  // Set by the manager as it takes the sub-object in and lets it go (null).
  void setOwner(IZelSubObjectMgr* owner) { owner_.store(owner); }
  std::u16string nameText();
  // The feature it shows, without a reference for the caller.
  IZelFeature* shownFeature();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  const uint64_t makerSerial_;
  const int32_t objectId_;
  std::atomic<uint32_t> flags_{0};
  std::atomic<IZelSubObjectMgr*> owner_{nullptr};
  std::mutex mutex_;
  std::u16string name_;        // guarded by mutex_
  IPtr<IZelFeature> feature_;  // guarded by mutex_
  IPtr<IZelFeature> shown_;    // guarded by mutex_
  ProbePoints probePoints_;
};
