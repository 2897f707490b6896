#pragma once

// The base of objects that receive the host view's callbacks: every callback a derived class does not
// override goes to the host's own default callback object ("ICallbackObject"), so the view behaves as it does
// without the module. Without that service the forwarded callbacks do nothing and answer 0.

#include "framework/object/iptr.h"
#include "framework/object/query_chain.h"
#include "framework/object/zel_unknown_impl.h"
#include "host_api/callback_object.h"

class ZelCallbackObject : public ICallbackObject,
                          public ICallbackObjectInternal,
                          public virtual ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "ZelCallbackObject";

  ZelCallbackObject();

  int32_t onActivate(void* data, void* extra) override;
  int32_t onDeactivate(void* data, void* extra) override;
  int32_t onPaint(void* data, void* extra) override;
  int32_t onResize(void* data, void* extra) override;
  int32_t onMouseDown(void* data, void* extra) override;
  int32_t onMouseClick(void* data, void* extra) override;
  int32_t onMouseDoubleClick(void* data, void* extra) override;
  int32_t onMouseMove(void* data, void* extra) override;
  int32_t onMouseWheel(void* data, void* extra) override;
  int32_t onKeyPress(void* data, void* extra) override;
  int32_t onKeyRelease(void* data, void* extra) override;
  int32_t onIdle(void* data, void* extra) override;
  int32_t internalCallback(void* a, void* b) override;
  // The view's registry is the host's: both go to the host default; without it nothing is added (false).
  bool addCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) override;
  bool removeCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
  void queryCallbackChain(QueryChain& chain);

 private:
  // Calls the host default's operation, or answers 0 without one.
  int32_t forward(int32_t (ICallbackObject::*operation)(void*, void*), void* data, void* extra);

  SPtr<ICallbackObject> host_;
};
