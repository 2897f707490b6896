#pragma once

// Registers the module's settings of the group "Palpera" in the stand-in host, as the host's start-up does
// through the module's settings adder.

#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host/api/zel_initializer.h"

inline void registerModuleSettings() {
  IPtr<IZelInitializer> adder;
  adder.createInstance(classIdOf("PalperaDataItemAdder"));
  ASSERT_TRUE(adder);
  adder->initialise();
}
