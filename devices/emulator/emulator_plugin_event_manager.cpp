#include "devices/emulator/emulator_plugin_event_manager.h"

#include "devices/emulator/emulator_input_handlers.h"
#include "framework/object/query_part.h"
#include "host_api/gfx_view.h"
#include "host_api/view_input.h"

namespace {

// The callbacks observe the input only: the view goes on to handle it as usual.
constexpr int32_t kNotHandled = 0;

}  // namespace

EmulatorPluginEventManager::EmulatorPluginEventManager(EmulatorPlugin* emulator)
    : emulator_(emulator),
      entries_{{{4, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewMouseDown)},
                {5, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewMouseClick)},
                {6, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewMouseDoubleClick)},
                {7, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewMouseMove)},
                {9, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewKeyPress)},
                {10, std::make_unique<Callback>(this, &EmulatorPluginEventManager::onViewKeyRelease)}}} {
  if (!emulator_->viewHook_) emulator_->viewHook_ = this;
  SPtr<IGfxViewMgr> view;
  registry_ = queryPart<ICallbackObject>(view.get());
  if (!registry_) return;
  for (const Entry& entry : entries_) registry_->addCallback(entry.id, this, entry.callback.get(), 0);
}

IPtr<EmulatorPluginEventManager> EmulatorPluginEventManager::forEmulator(EmulatorPlugin* emulator) {
  if (emulator->viewHook_) return IPtr<EmulatorPluginEventManager>(emulator->viewHook_);
  return IPtr<EmulatorPluginEventManager>(new EmulatorPluginEventManager(emulator));
}

EmulatorPluginEventManager::~EmulatorPluginEventManager() {
  if (emulator_->viewHook_ == this) emulator_->viewHook_ = nullptr;
  if (!registry_) return;
  for (const Entry& entry : entries_) registry_->removeCallback(entry.id, this, entry.callback.get(), 0);
}

void EmulatorPluginEventManager::forwardMouse(MouseOperation operation, void* data) {
  IGfxMouseData* view = queryPart<IGfxMouseData>(static_cast<IZelUnknown*>(data));
  if (!view) return;
  IPtr<IZelMouseData> mouse;
  mouse.getService();
  if (!mouse) return;
  mouse->setMouseData(view);
  if (std::shared_ptr<EmulatorPlugin::IEventHandler> handler = emulator_->inputHandler())
    (handler.get()->*operation)(mouse.get());
}

void EmulatorPluginEventManager::forwardKey(KeyOperation operation, void* data) {
  IGfxKeyData* view = queryPart<IGfxKeyData>(static_cast<IZelUnknown*>(data));
  if (!view) return;
  IPtr<IZelKeyData> fresh;
  fresh.getService();
  IPtr<IZelKeyDataV2> key(queryPart<IZelKeyDataV2>(fresh.get()));
  if (!key) return;
  key->setKeyData(view);
  if (std::shared_ptr<EmulatorPlugin::IEventHandler> handler = emulator_->inputHandler())
    (handler.get()->*operation)(key.get());
}

int32_t EmulatorPluginEventManager::onViewMouseDown(ZelCallback*, void* data, void*) {
  forwardMouse(&EmulatorPlugin::IEventHandler::onMouseDown, data);
  return kNotHandled;
}

int32_t EmulatorPluginEventManager::onViewMouseClick(ZelCallback*, void* data, void*) {
  forwardMouse(&EmulatorPlugin::IEventHandler::onMouseClick, data);
  return kNotHandled;
}

int32_t EmulatorPluginEventManager::onViewMouseDoubleClick(ZelCallback*, void* data, void*) {
  forwardMouse(&EmulatorPlugin::IEventHandler::onMouseDoubleClick, data);
  return kNotHandled;
}

int32_t EmulatorPluginEventManager::onViewMouseMove(ZelCallback*, void* data, void*) {
  forwardMouse(&EmulatorPlugin::IEventHandler::onMouseMove, data);
  return kNotHandled;
}

int32_t EmulatorPluginEventManager::onViewKeyPress(ZelCallback*, void* data, void*) {
  forwardKey(&EmulatorPlugin::IEventHandler::onKeyPress, data);
  return kNotHandled;
}

int32_t EmulatorPluginEventManager::onViewKeyRelease(ZelCallback*, void* data, void*) {
  forwardKey(&EmulatorPlugin::IEventHandler::onKeyRelease, data);
  return kNotHandled;
}

void EmulatorPluginEventManager::queryInterface(const char* name, void** out, bool) {
  QueryChain chain(name, out);
  chain.classLeaf(interfaceName, this, static_cast<ICallbackObject*>(this));
  queryCallbackChain(chain);
}
