#pragma once

// The stand-in host's coordinate-system service (ICSysService): the active coordinate system's axes, the
// world's own until a test or script sets others. Safe on any thread.

#include <mutex>

#include "basic_types/matrix4x4.h"
#include "host/core/host_unknown.h"
#include "host_api/csys_service.h"

class HostCSysService : public ICSysService, public HostUnknown {
 public:
  static constexpr const char* interfaceName = "HostCSysService";

  void worldToActiveVector(const double world[3], double active[3]) override;

  // Host side: the active system's placement in the world, whose 3×3 part maps its axes to the world's (the
  // translation does not act on vectors). False, changing nothing, for a 3×3 part that is no rotation.
  bool setActive(const Matrix4x4& placement);

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }

 private:
  std::mutex mutex_;
  Matrix4x4 placement_;  // guarded by mutex_
};
