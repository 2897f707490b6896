#include <gtest/gtest.h>
#include <sys/wait.h>

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

TEST(CommandLineHost, AWrongCommandLineIsSaidOnceOnOneLineAndMissingModulesFailWithAMessage) {
  struct Case {
    const char* arguments;
    const char* fault;
  };
  const Case cases[] = {
      {"--bogus", "unknown option '--bogus'"},
      {"--info --script", "missing argument: --script FILE"},
      {"--module", "missing argument: --module PATH"},
      {"--info '\033[2J'", "unknown option '\\x1B[2J'"},
  };
  int status = 0;
  for (const Case& c : cases) {
    std::string output = runTool(c.arguments, status);
    EXPECT_EQ(WEXITSTATUS(status), 2) << c.arguments;
    EXPECT_EQ(output, std::string("palpera-host: ") + c.fault +
                          "\n(palpera-host without arguments prints the usage)\n");
  }
  std::string output = runTool("--module /nonexistent.so --info", status);
  EXPECT_NE(status, 0);
  EXPECT_NE(output.find("cannot load the module"), std::string::npos) << output;
}

}  // namespace
