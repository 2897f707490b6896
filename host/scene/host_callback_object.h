#pragma once

// The stand-in host's default callback object (the service "ICallbackObject", and the view's callback object
// that "IGfxViewMgr" answers): what the view does with a callback no module object handled, and the view's
// registry of module callbacks. It records the id of every callback that reaches its own handling (0 to 11,
// in the order of ICallbackObject's operations; kInternalCallback for ICallbackObjectInternal) and answers 1,
// as a host that handled it. Safe on any thread.

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "host/core/host_unknown.h"
#include "host/scene/view_callback_registry.h"
#include "host_api/callback_object.h"

class HostCallbackObject : public ICallbackObject, public ICallbackObjectInternal, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCallbackObject";
  static constexpr int32_t kInternalCallback = 12;

  int32_t onActivate(void*, void*) override { return record(0); }
  int32_t onDeactivate(void*, void*) override { return record(1); }
  int32_t onPaint(void*, void*) override { return record(2); }
  int32_t onResize(void*, void*) override { return record(3); }
  int32_t onMouseDown(void*, void*) override { return record(4); }
  int32_t onMouseClick(void*, void*) override { return record(5); }
  int32_t onMouseDoubleClick(void*, void*) override { return record(6); }
  int32_t onMouseMove(void*, void*) override { return record(7); }
  int32_t onMouseWheel(void*, void*) override { return record(8); }
  int32_t onKeyPress(void*, void*) override { return record(9); }
  int32_t onKeyRelease(void*, void*) override { return record(10); }
  int32_t onIdle(void*, void*) override { return record(11); }
  int32_t internalCallback(void*, void*) override { return record(kInternalCallback); }
  bool addCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) override;
  bool removeCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) override;

  // Host side: what the view does with a callback: the registered callbacks of the id first, then, when none
  // handled it, the step in between (the running command; answers whether it handled it), then its own
  // handling. Answers non-zero when the callback was handled; 0 for an unknown id.
  int32_t dispatch(int32_t id, void* data, void* extra, const std::function<bool()>& between = {});
  // How many module callbacks are registered.
  size_t registeredCallbacks() { return registry_.size(); }

  // The ids received so far, in order.
  std::vector<int32_t> received();
  void clear();

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t record(int32_t id);

  ViewCallbackRegistry registry_;
  std::mutex mutex_;
  std::vector<int32_t> received_;  // guarded by mutex_
};
