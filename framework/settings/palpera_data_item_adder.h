#pragma once

// Registers every setting, run-time value and named event of the group "Palpera" in the host's data store, in
// one fixed order (a group always before its items), then completes the group. The host runs it once at
// start-up with the other initialisers. Without a data store nothing is registered.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class PalperaDataItemAdder : public IZelInitializer, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaDataItemAdder";

  void initialise() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
