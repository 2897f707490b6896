#include "host/scene/host_probe_gfx.h"

#include "framework/object/query_chain.h"

int32_t HostHardProbeGfx::setDisplayOption(int32_t option, int32_t value) {
  int32_t& held = options_[option];
  const int32_t before = held;
  held = value;
  return before;
}

void HostHardProbeGfx::setProbeSize(double size, double halfSize, double shaftLength) {
  sizes_.push_back({size, halfSize, shaftLength});
}

void HostHardProbeGfx::setPose(const Vector3& position, const Vector3& direction) {
  position_ = position;
  direction_ = direction;
  ++poseCount_;
}

void HostHardProbeGfx::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxHardProbeGfx>(this).end();
}

IGfxHardProbeGfx* HostPalperaGfxUtil::createHardProbeGfx() {
  IPtr<HostHardProbeGfx> probe(new HostHardProbeGfx);
  made_.push_back(probe);
  probe->addRef();  // the caller's
  return probe.get();
}

void HostPalperaGfxUtil::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxPalperaGfxUtil>(this).end();
}
