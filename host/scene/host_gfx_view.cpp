#include "host/scene/host_gfx_view.h"

#include <cstring>

#include "framework/object/query_chain.h"

int32_t HostGfxViewMgr::dispatch(int32_t id, IZelUnknown* data,
                                 const std::function<bool(IComponentCommand&)>& toCommand) {
  // The command is held through the call: it may ask to be finished while it handles the input.
  IPtr<IComponentCommand> command = command_;
  auto between = [&] { return command && toCommand && toCommand(*command); };
  // The callback's data travels as the data object's IZelUnknown, which the receiver queries.
  return callbacks_->dispatch(id, data, nullptr, between);
}

int32_t HostGfxViewMgr::injectMouse(MouseCallback callback, const MouseInput& input) {
  IPtr<HostGfxMouseData> data(new HostGfxMouseData(input));
  IGfxMouseData* mouse = data.get();
  std::function<bool(IComponentCommand&)> toCommand;
  if (callback == MouseCallback::kDown)
    toCommand = [mouse](IComponentCommand& c) { return c.onMousePress(mouse); };
  if (callback == MouseCallback::kMove)
    toCommand = [mouse](IComponentCommand& c) { return c.onMouseMove(mouse); };
  if (callback == MouseCallback::kClick) {
    toCommand = [mouse](IComponentCommand& c) { return c.onMouseRelease(mouse); };
  }
  return dispatch(static_cast<int32_t>(callback), static_cast<IZelUnknown*>(mouse), toCommand);
}

int32_t HostGfxViewMgr::injectKey(KeyCallback callback, int32_t keyCode) {
  IPtr<HostGfxKeyData> data(new HostGfxKeyData(keyCode));
  IGfxKeyData* key = data.get();
  auto toCommand = [key, callback](IComponentCommand& c) {
    return callback == KeyCallback::kPress ? c.onKeyPress(key) : c.onKeyRelease(key);
  };
  return dispatch(static_cast<int32_t>(callback), static_cast<IZelUnknown*>(key), toCommand);
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
