#include "host/scene/host_gfx_view.h"

#include <cstring>

#include "framework/object/query_chain.h"

int32_t HostGfxViewMgr::dispatch(int32_t id, IZelUnknown* data) {
  // The callback's data travels as the data object's IZelUnknown, which the receiver queries.
  return callbacks_->dispatch(id, data, nullptr);
}

int32_t HostGfxViewMgr::injectMouse(MouseCallback callback, const MouseInput& input) {
  IPtr<HostGfxMouseData> data(new HostGfxMouseData(input));
  return dispatch(static_cast<int32_t>(callback), data.get());
}

int32_t HostGfxViewMgr::injectKey(KeyCallback callback, int32_t keyCode) {
  IPtr<HostGfxKeyData> data(new HostGfxKeyData(keyCode));
  return dispatch(static_cast<int32_t>(callback), data.get());
}

int32_t HostGfxViewMgr::viewIndex(IZelUnknown* view) {
  return view && view == currentView() ? currentIndex_ : -1;
}

void HostGfxViewMgr::queryInterface(const char* name, void** out, bool flag) {
  if (QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxViewMgr>(this).end() || !name)
    return;
  // The view's callbacks are kept by the view's callback object, which answers for them.
  if (std::strcmp(name, ICallbackObject::interfaceName) == 0) callbacks_->queryInterface(name, out, flag);
}
