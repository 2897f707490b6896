#include "ui/probe/hard_probe_probe_gfx_receivers.h"

#include "framework/memory/assertion.h"
#include "framework/object/query_chain.h"

namespace {

// The assertion's source for a receiver made without its probe graphics.
constexpr const char* kAssertionSource = "hardprobeprobegfx";

template <class Parent>
Parent* checkedParent(Parent* parent) {
  if (!parent) reportAssertion("parent_", kAssertionSource, __LINE__);
  return parent;
}

}  // namespace

HardProbeProbeGfx::DataReceiver::DataReceiver(HardProbeProbeGfx* parent) : parent_(checkedParent(parent)) {}

void HardProbeProbeGfx::DataReceiver::setProbeRadius(double radius) {
  if (parent_) parent_->setProbeRadius(radius);
}

void HardProbeProbeGfx::DataReceiver::onMoved(const Vector3& point, const Vector3& to, const Vector3&) {
  if (parent_) parent_->setPose(point, to);
}

void HardProbeProbeGfx::DataReceiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeDataReceiver>(this)
      .offer<IZelHardProbeDataReceiverV2>(this)
      .end();
}

HardProbeProbeGfx::ContinuousDataReceiver::ContinuousDataReceiver(HardProbeProbeGfx* parent)
    : parent_(checkedParent(parent)) {}

void HardProbeProbeGfx::ContinuousDataReceiver::setProbeRadius(double radius) {
  if (parent_) parent_->setProbeRadius(radius);
}

void HardProbeProbeGfx::ContinuousDataReceiver::onMoved(const Vector3& point, const Vector3& to,
                                                        const Vector3&) {
  if (parent_) parent_->setPose(point, to);
}

void HardProbeProbeGfx::ContinuousDataReceiver::onPointSampled(const Vector3& point, const Vector3& to,
                                                               const Vector3& up) {
  onMoved(point, to, up);
}

void HardProbeProbeGfx::ContinuousDataReceiver::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelPluginDataReceiver>(this)
      .offer<IZelHardProbeContinuousDataReceiver>(this)
      .end();
}
