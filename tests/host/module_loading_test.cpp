#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/module_library.h"
#include "host/standin_host.h"
#include "support/module_fixture.h"
#include "support/run_tool.h"

namespace {

TEST(ModuleLoading, TheSharedLibraryLoadsAndHandsOutItsComponent) {
  StandinHost host;
  std::string error;
  std::unique_ptr<ModuleLibrary> module = ModuleLibrary::load(PALPERA_MODULE_PATH, error);
  ASSERT_TRUE(module) << error;
  EXPECT_EQ(module->interfaceVersion(), 100u);
  host.attach(module->component());
  IZelCompInternal* internal = internalOf(module->component());
  ASSERT_NE(internal, nullptr);
  EXPECT_STREQ(internal->moduleName(), "palpera");
}

TEST(ModuleLoading, AMissingLibraryIsReportedNotCrashed) {
  std::string error;
  EXPECT_FALSE(ModuleLibrary::load("/nonexistent/libpalpera.so", error));
  EXPECT_FALSE(error.empty());
}

TEST(CommandLineHost, InfoPrintsTheModuleIdentity) {
  int status = -1;
  std::string output = runTool("--info", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("module: palpera\n"), std::string::npos) << output;
  EXPECT_NE(output.find("build stamp: 2011-10-27 13:41\n"), std::string::npos);
  EXPECT_NE(output.find("interface version: 100\n"), std::string::npos);
}

TEST(CommandLineHost, UnknownOptionsAndMissingModulesFailWithAMessage) {
  int status = 0;
  std::string output = runTool("--bogus", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("unknown option '--bogus'"), std::string::npos) << output;
  output = runTool("--module /nonexistent.so --info", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("cannot load the module"), std::string::npos) << output;
}

}  // namespace
