// The module is one library: copied alone into any folder, it loads there and the host finds it by its one
// exported name.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_tool.h"
#include "support/scratch_directory.h"

namespace {

// The lines a program prints about the library, each trimmed of its leading blanks.
std::vector<std::string> linesOf(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<std::string> lines;
  char buffer[1024];
  while (pipe && std::fgets(buffer, sizeof buffer, pipe.get())) {
    std::string line(buffer);
    line.erase(0, line.find_first_not_of(' '));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The names the library exports: its defined dynamic symbols.
std::vector<std::string> exportedNames(const std::string& library) {
  std::vector<std::string> names;
  for (const std::string& line : linesOf("nm -D --defined-only --format=just-symbols '" + library + "'"))
    names.push_back(line);
  return names;
}

// The libraries it needs that are not the system's: any of the project's own.
std::vector<std::string> projectLibrariesNeeded(const std::string& library) {
  std::vector<std::string> needed;
  for (const std::string& line : linesOf("readelf -d -W '" + library + "'")) {
    if ((line.find("(NEEDED)") != std::string::npos || line.find("PATH)") != std::string::npos) &&
        line.find("palpera") != std::string::npos)
      needed.push_back(line);
  }
  return needed;
}

}  // namespace

TEST(ModuleLibrary, ACopyAloneInAFreshFolderLoadsAndExportsEntryPointAlone) {
  for (const std::string& built : {std::string(PALPERA_MODULE_PATH), std::string(PALPERA_TOOL_TEST_MODULE)}) {
    SCOPED_TRACE(built);
    ScratchDirectory scratch;
    const std::string copy = scratch.system("module.so");
    std::filesystem::copy_file(built, copy);
    scratch.write("run.script", "start\nprint settings Palpera/Logging\n");
    EXPECT_EQ(exportedNames(copy), std::vector<std::string>{"EntryPoint"});
    EXPECT_EQ(projectLibrariesNeeded(copy), std::vector<std::string>{});
    int status = -1;
    const std::string output = runTool("--module " + copy + " --script run.script", status, scratch.system());
    EXPECT_EQ(status, 0) << output;
    EXPECT_NE(output.find("Palpera/Logging"), std::string::npos) << output;
  }
}
