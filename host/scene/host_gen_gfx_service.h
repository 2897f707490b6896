#pragma once

// The stand-in host's graphics service (the service "IGenGfxService"). The host's objects stand in the world
// as their document transform places them; an object without one stands at the origin, unrotated. Safe on any
// thread.

#include <array>

#include "host/api/gfx_view.h"
#include "host/api/zel_doc.h"
#include "host/core/host_unknown.h"

class HostGenGfxService : public IGenGfxService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostGenGfxService";
  using Matrix = std::array<double, 16>;  // row-major, applied to column vectors

  bool worldTransform(IZelDocObject* object, double matrix[16]) override;

  // The object's world transform, as every host service that places objects sees it.
  static Matrix transformOf(IZelDocObject& object);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
