#pragma once

// What the host's start-up does with the module: register its settings of the group "Palpera" in the
// stand-in host through its settings adder, and run its start-up tasks, each made by class name.

#include <gtest/gtest.h>

#include "framework/object/iptr.h"
#include "framework/registrations/registered_classes.h"
#include "host_api/zel_initializer.h"

inline void registerModuleSettings() {
  IPtr<IZelInitializer> adder;
  adder.createInstance(classIdOf("PalperaDataItemAdder"));
  ASSERT_TRUE(adder);
  adder->initialise();
}

inline void runStartupTask(const char* className) {
  IPtr<IZelStartupTask> task;
  task.createInstance(classIdOf(className));
  ASSERT_TRUE(task) << className;
  task->run();
}
