#include "ui/triad/device_csys_gfx_startup_task.h"

#include "framework/object/query_chain.h"
#include "framework/registrations/class_registration.h"
#include "ui/triad/device_csys_gfx.h"

namespace {

const ClassRegistration<DeviceCSYSGfxStartupTask> registration(registeredClass("DeviceCSYSGfxStartupTask"));

}  // namespace

void DeviceCSYSGfxStartupTask::run() {
  // The triad holds itself until the host shuts down.
  new DeviceCSYSGfx;
}

void DeviceCSYSGfxStartupTask::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelStartupTask>(this).end();
}
