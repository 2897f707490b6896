#pragma once

// The light base of the module's iterators that compute their elements without vertex arrays: every
// operation has a harmless default (nothing done, false, 0, null) and only the hint is kept; advance clears
// the restart flag and steps with next. A concrete iterator overrides what it serves. Belongs to the host's
// main thread.

#include "framework/iterators/zel_itr_defaults.h"
#include "framework/object/zel_unknown_impl.h"

class ZelItrBase : public ZelItrDefaults<ZelUnknownImpl> {
 public:
  static constexpr const char* interfaceName = "ZelItrBase";

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
