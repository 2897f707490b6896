#pragma once

// The plug-in managers' tests: the module's settings registered, and test plug-ins loaded into the host.

#include <string>

#include "platform/utf8.h"
#include "support/module_fixture.h"
#include "support/module_settings.h"
#include "tests/devices/support/test_plugin.h"

class ManagerTest : public ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    registerModuleSettings();
  }

  // Loads the plug-in into the host, which keeps it.
  IZelPlugin* load(TestPlugin* plugin) {
    host_.pluginHandler().registerPlugin(static_cast<IZelPlugin*>(plugin));
    return plugin;
  }

  std::string stored(const char* key) { return platform::toUtf8(host_.dataStore().getString(key).c_str()); }
  void store(const char* key, const char16_t* value) {
    host_.dataStore().setString(nullptr, key, ZelString(value));
  }
};
