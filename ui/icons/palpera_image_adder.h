#pragma once

// Registers the module's icons by name in the host's image store at start-up, so that the host's menus, tool
// bars and dialogs can show them; commands then refer to an icon by its name only. The host creates it (a
// new object per request) and initialises it once, on its main thread. Without an image store nothing is
// registered and the host shows no icons of the module.

#include "framework/object/zel_unknown_impl.h"
#include "host_api/zel_initializer.h"

class PalperaImageAdder : public IZelInitializer, public ZelUnknownImpl {
 public:
  static constexpr const char* interfaceName = "PalperaImageAdder";

  void initialise() override;

  void queryInterface(const char* name, void** out, bool flag) override;
  const char* className() override { return interfaceName; }
};
