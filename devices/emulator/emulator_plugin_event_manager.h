#pragma once

// Feeds the emulator from the host's 3-D view while a device acquires with it: the manager adds its
// callbacks for the view's mouse (ids 4 to 7) and key (9 press, 10 release) callbacks to the view's registry
// when it is made and removes them when it goes. Each callback wraps the view's data in the host's own mouse
// or key data and hands it to the input handler of the emulator's run in progress; with no run in progress
// it does nothing. The callbacks leave the view's own handling of the input as it is.
//
// A device takes the emulator's manager (forEmulator) when it starts acquiring from the emulator and drops it
// when it stops. Both hard-probe devices may acquire with the emulator at once; they then share the one
// manager, so the view's input reaches the run once. The emulator is not counted and must outlive the
// manager. Main thread only.

#include <array>
#include <cstdint>
#include <memory>

#include "devices/emulator/emulator_plugin.h"
#include "framework/object/iptr.h"
#include "framework/widgets/callback_mth.h"
#include "framework/widgets/zel_callback_object.h"
#include "host_api/view_input.h"

class EmulatorPluginEventManager : public ZelCallbackObject {
 public:
  static constexpr const char* interfaceName = "EmulatorPluginEventManager";

  // The emulator's manager while any device holds it, else a new one.
  static IPtr<EmulatorPluginEventManager> forEmulator(EmulatorPlugin* emulator);

  explicit EmulatorPluginEventManager(EmulatorPlugin* emulator);
  ~EmulatorPluginEventManager() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  using Callback = CallbackMth<EmulatorPluginEventManager>;
  using MouseOperation = void (EmulatorPlugin::IEventHandler::*)(IZelMouseData*);
  using KeyOperation = void (EmulatorPlugin::IEventHandler::*)(IZelKeyData*);
  struct Entry {
    int32_t id;
    std::unique_ptr<Callback> callback;
  };

  int32_t onViewMouseDown(ZelCallback*, void* data, void*);
  int32_t onViewMouseClick(ZelCallback*, void* data, void*);
  int32_t onViewMouseDoubleClick(ZelCallback*, void* data, void*);
  int32_t onViewMouseMove(ZelCallback*, void* data, void*);
  int32_t onViewKeyPress(ZelCallback*, void* data, void*);
  int32_t onViewKeyRelease(ZelCallback*, void* data, void*);
  void forwardMouse(MouseOperation operation, void* data);
  void forwardKey(KeyOperation operation, void* data);

  EmulatorPlugin* const emulator_;
  IPtr<ICallbackObject> registry_;  // the view's, or empty: then no callback was added
  std::array<Entry, 6> entries_;
};
