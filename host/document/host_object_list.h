#pragma once

// The small parts the stand-in host's document objects carry: an ordered list of related objects (a curve
// object's "CurveBySectionPolylines", a group's members) and a curve object's curve ends ("PrimCurveEnds"),
// shown until hidden. Safe on any thread.

#include <atomic>
#include <mutex>
#include <vector>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host_api/zel_object_extras.h"

class HostObjectList : public IZelObjectList, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostObjectList";

  bool add(IZelUnknown* item) override;
  int32_t count() override;
  IZelUnknown* at(int32_t index) override;
  // Host side: takes item out; false when it is not in the list.
  bool remove(IZelUnknown* item);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  std::vector<IPtr<IZelUnknown>> items_;  // guarded by mutex_
};

class HostCurveEnds : public IZelCurveEnds, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCurveEnds";

  void setVisible(bool visible, bool) override { visible_ = visible; }
  bool visible() override { return visible_; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::atomic<bool> visible_{true};
};
