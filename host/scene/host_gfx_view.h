#pragma once

// The stand-in host's view manager (the service "IGfxViewMgr"). The view is headless: tests and scripts
// inject its mouse and key callbacks, which go through the view's callback object (the host's
// "ICallbackObject", which the view manager answers for that name): the module callbacks registered for the
// callback's id first, then the running command (as component_command.h says), then the view's own handling.
// Injection belongs to the main thread, as the view's callbacks do. The host draws every view of its layout
// through its one scene; the current index says which of them is being drawn.

#include <cstdint>
#include <functional>

#include "framework/object/iptr.h"
#include "host/core/host_unknown.h"
#include "host/scene/host_callback_object.h"
#include "host/scene/host_scene.h"
#include "host/scene/host_view_input.h"
#include "host_api/component_command.h"
#include "host_api/gfx_view.h"

class HostGfxViewMgr : public IGfxViewMgr, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGfxViewMgr";

  // The callback ids of the view's mouse and key callbacks.
  enum class MouseCallback : int32_t { kDown = 4, kClick = 5, kDoubleClick = 6, kMove = 7 };
  enum class KeyCallback : int32_t { kPress = 9, kRelease = 10 };

  explicit HostGfxViewMgr(HostCallbackObject* callbacks) : callbacks_(callbacks), scene_(new HostScene) {}

  // The one view: its scene.
  IZelUnknown* currentView() override { return static_cast<ISGfxScene*>(scene_.get()); }
  HostScene& scene() { return *scene_; }
  int32_t layoutMode() override { return layoutMode_; }
  int32_t viewIndex(IZelUnknown* view) override;

  // Host side: the layout, and the view about to be drawn.
  void setLayoutMode(int32_t mode) { layoutMode_ = mode; }
  void setCurrentIndex(int32_t index) { currentIndex_ = index; }

  // Host side: makes the view's data of one callback and calls the callback with it. Answers non-zero when
  // the callback was handled.
  int32_t injectMouse(MouseCallback callback, const MouseInput& input);
  int32_t injectKey(KeyCallback callback, int32_t keyCode);
  // The command the view's input goes to after the registered callbacks (null: none), held with a reference.
  void setRunningCommand(IComponentCommand* command) { command_ = command; }

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  int32_t dispatch(int32_t id, IZelUnknown* data, const std::function<bool(IComponentCommand&)>& toCommand);

  const IPtr<HostCallbackObject> callbacks_;
  const IPtr<HostScene> scene_;
  int32_t layoutMode_ = 0;
  int32_t currentIndex_ = 0;
  IPtr<IComponentCommand> command_;
};
