#include "host/scene/host_view_input.h"

#include <algorithm>
#include <cmath>

#include "framework/object/query_chain.h"

HostGfxMouseData::HostGfxMouseData(const MouseInput& input) : input_(input) {
  std::array<double, 3>& d = input_.rayDirection;
  double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  // A zero direction stays zero: such a ray hits nothing, rather than pointing somewhere made up.
  if (length > 0) std::for_each(d.begin(), d.end(), [length](double& c) { c /= length; });
}

void HostGfxMouseData::screenPosition(int32_t* x, int32_t* y) {
  if (x) *x = input_.x;
  if (y) *y = input_.y;
}

void HostGfxMouseData::pickRay(double origin[3], double direction[3]) {
  std::copy(input_.rayOrigin.begin(), input_.rayOrigin.end(), origin);
  std::copy(input_.rayDirection.begin(), input_.rayDirection.end(), direction);
}

void HostGfxMouseData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxMouseData>(this).end();
}

void HostGfxKeyData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IGfxKeyData>(this).end();
}

bool HostMouseData::screenPosition(int32_t* x, int32_t* y) {
  if (!view_) return false;
  view_->screenPosition(x, y);
  return true;
}

bool HostMouseData::pickRay(double origin[3], double direction[3]) {
  if (!view_) return false;
  view_->pickRay(origin, direction);
  return true;
}

void HostMouseData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out).classLeaf(interfaceName, this, this).offer<IZelMouseData>(this).end();
}

void HostKeyData::queryInterface(const char* name, void** out, bool) {
  QueryChain(name, out)
      .classLeaf(interfaceName, this, this)
      .offer<IZelKeyData>(this)
      .offer<IZelKeyDataV2>(this)
      .end();
}
