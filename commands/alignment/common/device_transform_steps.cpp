#include "commands/alignment/common/device_transform_steps.h"

#include <algorithm>

#include "commands/transform/matrix_widget.h"
#include "devices/contracts/plugin.h"
#include "devices/contracts/plugin_device.h"
#include "devices/managers/izel_plugin_manager.h"
#include "framework/host_glue/setting_on.h"
#include "framework/object/query_part.h"
#include "framework/registrations/registered_classes.h"
#include "host_api/module_class_ids.h"
#include "ui/probe/zel_hard_probe_probe_gfx.h"
#include "ui/receivers/stop_receiver.h"

namespace {

constexpr const char* kShowProbeKey = "Palpera/Gfx/ShowProbe";

Matrix4x4 readCombined(IZelPlugin& plugin, MatrixWidget* display) {
  plugin.reloadObjectMatrix();
  Matrix4x4 combined;
  plugin.deviceMatrix(combined);
  plugin.resetObjectMatrix();
  if (display) display->setMatrix(combined.m);
  return combined;
}

}  // namespace

Matrix4x4 setDeviceTransform(IZelPlugin& plugin, const Matrix4x4& hardware, MatrixWidget* display) {
  plugin.setHardwareMatrix(hardware);
  return readCombined(plugin, display);
}

Matrix4x4 hardwareDelivering(IZelPlugin& plugin, const Matrix4x4& deviceToWorld) {
  // The object matrix is read through the plug-in, as a device takes it up, whatever plug-in it is: the
  // transform with it and without it differ by exactly that factor on the left.
  plugin.reloadObjectMatrix();
  Matrix4x4 withObject;
  plugin.deviceMatrix(withObject);
  plugin.resetObjectMatrix();
  Matrix4x4 withoutObject;
  plugin.deviceMatrix(withoutObject);
  // Without an object matrix the alignment is the hardware matrix, to the last bit.
  if (std::ranges::equal(withObject.m, withoutObject.m)) return deviceToWorld;
  Matrix4x4 fromWithObject;
  if (!Matrix4x4::invert(withObject, fromWithObject)) return deviceToWorld;
  return withoutObject * fromWithObject * deviceToWorld;
}

Matrix4x4 showDeviceTransform(IZelPlugin& plugin, MatrixWidget* display) {
  return readCombined(plugin, display);
}

void KeptHardwareMatrix::keep(IZelPlugin& plugin) {
  matrix_ = plugin.hardwareMatrix();
  kept_ = true;
}

void KeptHardwareMatrix::giveBack(IZelPlugin& plugin, MatrixWidget* display) {
  if (!kept_) return;
  kept_ = false;
  setDeviceTransform(plugin, matrix_, display);
}

bool PositionDisplay::start(IZelPluginDevice& device, IZelListener& listener, IZelDocObject* object,
                            bool fitView) {
  stop();
  receiver_.createInstance(classIdOf("StopReceiver"));
  if (!receiver_) return false;
  receiver_->attach(&listener);
  listener_ = &listener;
  if (settingOn(kShowProbeKey)) {
    probeGraphics_.createInstance(kHardProbeProbeGfxClassId);
    if (probeGraphics_) {
      probeGraphics_->setParentObject(object);
      probeGraphics_->attach();
      if (fitView) probeGraphics_->fitView(false);
    }
  }
  device.addReceiver(receiver_.get());
  if (!device.startAcquisition()) {
    device.removeReceiver(receiver_.get());
    release();
    return false;
  }
  device_ = &device;
  showInfoTile(true);
  return true;
}

void PositionDisplay::stop() {
  if (!device_) return;
  const IPtr<IZelPluginDevice> device = std::move(device_);
  showInfoTile(false);
  stopDetached(*device, {receiver_.get()});
  release();
}

void PositionDisplay::release() {
  if (probeGraphics_) {
    probeGraphics_->detach();
    probeGraphics_.release();
  }
  if (receiver_ && listener_) receiver_->detach(listener_);
  listener_ = nullptr;
  receiver_.release();
}

bool PositionDisplay::isSender(IZelSubject* subject) const {
  return subject && receiver_ && subject == static_cast<IZelSubject*>(receiver_.get());
}
