#include "framework/widgets/zel_callback_object.h"

ZelCallbackObject::ZelCallbackObject() = default;

int32_t ZelCallbackObject::forward(int32_t (ICallbackObject::*operation)(void*, void*), void* data,
                                   void* extra) {
  return host_ ? (host_.get()->*operation)(data, extra) : 0;
}

int32_t ZelCallbackObject::onActivate(void* d, void* e) {
  return forward(&ICallbackObject::onActivate, d, e);
}
int32_t ZelCallbackObject::onDeactivate(void* d, void* e) {
  return forward(&ICallbackObject::onDeactivate, d, e);
}
int32_t ZelCallbackObject::onPaint(void* d, void* e) {
  return forward(&ICallbackObject::onPaint, d, e);
}
int32_t ZelCallbackObject::onResize(void* d, void* e) {
  return forward(&ICallbackObject::onResize, d, e);
}
int32_t ZelCallbackObject::onMouseDown(void* d, void* e) {
  return forward(&ICallbackObject::onMouseDown, d, e);
}
int32_t ZelCallbackObject::onMouseClick(void* d, void* e) {
  return forward(&ICallbackObject::onMouseClick, d, e);
}
int32_t ZelCallbackObject::onMouseDoubleClick(void* d, void* e) {
  return forward(&ICallbackObject::onMouseDoubleClick, d, e);
}
int32_t ZelCallbackObject::onMouseMove(void* d, void* e) {
  return forward(&ICallbackObject::onMouseMove, d, e);
}
int32_t ZelCallbackObject::onMouseWheel(void* d, void* e) {
  return forward(&ICallbackObject::onMouseWheel, d, e);
}
int32_t ZelCallbackObject::onKeyPress(void* d, void* e) {
  return forward(&ICallbackObject::onKeyPress, d, e);
}
int32_t ZelCallbackObject::onKeyRelease(void* d, void* e) {
  return forward(&ICallbackObject::onKeyRelease, d, e);
}
int32_t ZelCallbackObject::onIdle(void* d, void* e) {
  return forward(&ICallbackObject::onIdle, d, e);
}

bool ZelCallbackObject::addCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback, int32_t flag) {
  return host_ && host_->addCallback(id, owner, callback, flag);
}

bool ZelCallbackObject::removeCallback(int32_t id, ICallbackObject* owner, ZelCallback* callback,
                                       int32_t flag) {
  return host_ && host_->removeCallback(id, owner, callback, flag);
}

int32_t ZelCallbackObject::internalCallback(void* a, void* b) {
  if (!host_) return 0;
  void* part = nullptr;
  host_->queryInterface(ICallbackObjectInternal::interfaceName, &part, false);
  return part ? static_cast<ICallbackObjectInternal*>(part)->internalCallback(a, b) : 0;
}

void ZelCallbackObject::queryCallbackChain(QueryChain& chain) {
  chain
      .classLeaf(ZelCallbackObject::interfaceName, static_cast<ZelCallbackObject*>(this),
                 static_cast<IZelUnknown*>(static_cast<ICallbackObject*>(this)))
      .offer<ICallbackObject>(this)
      .offer<ICallbackObjectInternal>(this)
      .end();
}

void ZelCallbackObject::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  queryCallbackChain(chain);
}
